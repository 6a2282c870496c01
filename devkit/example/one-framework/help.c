/* Calls Apple Help only: a book nobody registered is not found. */
#include <Help/AppleHelp.h>
#include <stdio.h>

int main(void) {
    OSStatus status = AHLookupAnchor(CFSTR("No Such Book"), CFSTR("nowhere"));
    printf("Help %d\n", (int)status);
    return status != noErr ? 0 : 1;
}
