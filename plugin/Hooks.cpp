// The per-model hooks of this printer family: they only keep the current print session
// (gCurrentPrintSession, which the toolkit's PPD routines read).
#include "Hooks.h"

OSStatus TovekPDEProlog(PMPDEContext*, OSType*, CFStringRef*, CFStringRef*, UInt32*, UInt32*) {
    return noErr;
}

OSStatus TovekPDEInitialize(PMPDEContext, PMPDEFlags*, PMPDERef, ControlRef,
                            PMPrintSession printSession) {
    gCurrentPrintSession = printSession;
    return noErr;
}

OSStatus TovekPDESync(PMPDEContext, PMPrintSession, Boolean) {
    return noErr;
}

OSStatus TovekPDEGetSummaryText(PMPDEContext, CFArrayRef*, CFArrayRef*) {
    return noErr;
}

OSStatus TovekPDEOpen(PMPDEContext) {
    return noErr;
}

OSStatus TovekPDEClose(PMPDEContext) {
    return noErr;
}

OSStatus TovekPDETerminate(PMPDEContext, OSStatus) {
    gCurrentPrintSession = nullptr;
    return noErr;
}
