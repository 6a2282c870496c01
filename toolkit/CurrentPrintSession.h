/*
 * CurrentPrintSession.h: the print session that the panel's Initialize hook made current. It
 * lives in the toolkit, where the PPD routines read it; the plug-in's hooks set and clear it.
 */
#ifndef TOOLKIT_CURRENTPRINTSESSION_H
#define TOOLKIT_CURRENTPRINTSESSION_H

#include <PrintCore/PrintCore.h>

CF_EXTERN_C_BEGIN

/* The print session of the last Initialize, until Terminate; NULL outside. Not retained. */
CF_EXPORT PMPrintSession gCurrentPrintSession;

/* gCurrentPrintSession. */
CF_EXPORT PMPrintSession GetCurrentPrintSession(void);

CF_EXTERN_C_END

#endif /* TOOLKIT_CURRENTPRINTSESSION_H */
