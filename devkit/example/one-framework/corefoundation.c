/* Calls Core Foundation only: links against libCoreFoundation and nothing else. */
#include <CoreFoundation/CoreFoundation.h>
#include <stdio.h>

int main(void) {
    CFStringRef text = CFStringCreateWithCString(NULL, "Michał 日本", kCFStringEncodingUTF8);
    if (!text)
        return 1;
    CFIndex length = CFStringGetLength(text);
    CFRelease(text);
    printf("CoreFoundation %ld\n", (long)length);
    return length == 9 ? 0 : 1;
}
