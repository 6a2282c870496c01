/* Calls Core Services only. */
#include <CoreServices/CoreServices.h>
#include <stdio.h>

int main(void) {
    SInt32 major = 0;
    if (Gestalt(gestaltSystemVersionMajor, &major) != noErr)
        return 1;
    printf("CoreServices %d\n", (int)major);
    return major == 10 ? 0 : 1;
}
