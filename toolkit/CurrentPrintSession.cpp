// The current print session: one plain global shared by every panel instance of the process.
#include "CurrentPrintSession.h"

PMPrintSession gCurrentPrintSession = nullptr;

PMPrintSession GetCurrentPrintSession(void) {
    return gCurrentPrintSession;
}
