/*
 * Hooks.h: the per-model hooks. Each panel operation calls the hook of the same name first,
 * with its own arguments; a printer model can change them without touching the panel.
 */
#ifndef PLUGIN_HOOKS_H
#define PLUGIN_HOOKS_H

#include <Carbon/Carbon.h>

#include "CurrentPrintSession.h"

CF_EXTERN_C_BEGIN

CF_EXPORT OSStatus TovekPDEProlog(PMPDEContext* context, OSType* creator,
                                  CFStringRef* userOptionKind, CFStringRef* title, UInt32* maxH,
                                  UInt32* maxV);
/* Makes printSession the current print session. */
CF_EXPORT OSStatus TovekPDEInitialize(PMPDEContext context, PMPDEFlags* flags, PMPDERef ref,
                                      ControlRef parentUserPane, PMPrintSession printSession);
CF_EXPORT OSStatus TovekPDESync(PMPDEContext context, PMPrintSession printSession,
                                Boolean reinitializePlugIn);
/* Leaves both arrays as the host passed them. */
CF_EXPORT OSStatus TovekPDEGetSummaryText(PMPDEContext context, CFArrayRef* titleArray,
                                          CFArrayRef* summaryArray);
CF_EXPORT OSStatus TovekPDEOpen(PMPDEContext context);
CF_EXPORT OSStatus TovekPDEClose(PMPDEContext context);
/* Clears the current print session. */
CF_EXPORT OSStatus TovekPDETerminate(PMPDEContext context, OSStatus status);

CF_EXTERN_C_END

#endif /* PLUGIN_HOOKS_H */
