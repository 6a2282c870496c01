/* An outside program written as for the Mac: a string, the system version, and a window with
   a control, through the development kit's headers and libraries. */
#include <Carbon/Carbon.h>
#include <stdio.h>

int main(void) {
    SInt32 major = 0, minor = 0;
    if (Gestalt(gestaltSystemVersionMajor, &major) != noErr ||
        Gestalt(gestaltSystemVersionMinor, &minor) != noErr)
        return 1;
    CFStringRef text = CFStringCreateWithFormat(NULL, NULL, CFSTR("hello from the runtime %d.%d"),
                                                (int)major, (int)minor);
    char buffer[128];
    if (!CFStringGetCString(text, buffer, sizeof buffer, kCFStringEncodingUTF8))
        return 1;
    CFRelease(text);

    Rect bounds = {0, 0, 100, 200};
    WindowRef window = NULL;
    if (CreateNewWindow(kDocumentWindowClass, kWindowStandardHandlerAttribute, &bounds, &window) !=
        noErr)
        return 1;
    ControlRef button = NULL;
    Rect buttonBounds = {10, 10, 30, 90};
    if (CreatePushButtonControl(window, &buttonBounds, CFSTR("OK"), &button) != noErr)
        return 1;
    DisposeWindow(window);
    puts(buffer);
    return 0;
}
