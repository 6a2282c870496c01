/* Calls the printing manager only. */
#include <PrintCore/PrintCore.h>
#include <stdio.h>

int main(void) {
    PMPrintSession session = NULL;
    if (PMCreateSession(&session) != noErr || !session)
        return 1;
    PMRelease(session);
    puts("PrintCore session");
    return 0;
}
