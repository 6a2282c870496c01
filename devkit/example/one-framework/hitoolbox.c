/* Calls HIToolbox only, through the host's header too: it must compile with the kit's flags. */
#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/PlatformHost.h>
#include <stdio.h>

int main(void) {
    Rect bounds = {0, 0, 80, 120};
    WindowRef window = NULL;
    if (CreateNewWindow(kDocumentWindowClass, kWindowStandardHandlerAttribute, &bounds, &window) !=
        noErr)
        return 1;
    ItemCount windows = PlatformCopyWindowList(NULL, 0);
    DisposeWindow(window);
    printf("HIToolbox %lu\n", (unsigned long)windows);
    return windows == 1 ? 0 : 1;
}
