/*
 * Dialogs.h: standard alerts. An alert is a movable modal window with a
 * message, an optional explanation and up to three buttons; RunStandardAlert
 * runs it in an application-modal loop fed by the event source
 * (PlatformSetEventSource), so scripts can read and answer it.
 */
#ifndef HITOOLBOX_DIALOGS_H
#define HITOOLBOX_DIALOGS_H

#include <HIToolbox/Events.h>
#include <HIToolbox/MacWindows.h>

CF_EXTERN_C_BEGIN

typedef struct OpaqueDialogPtr* DialogRef;
typedef DialogRef DialogPtr;
typedef SInt16 DialogItemIndex;
typedef SInt16 AlertType;

enum { kAlertStopAlert = 0, kAlertNoteAlert = 1, kAlertCautionAlert = 2, kAlertPlainAlert = 3 };

/* The item numbers RunStandardAlert reports. */
enum {
    kAlertStdAlertOKButton = 1,
    kAlertStdAlertCancelButton = 2,
    kAlertStdAlertOtherButton = 3,
    kAlertStdAlertHelpButton = 4
};

enum { kStdCFStringAlertVersionOne = 1 };

/* A button title meaning "the system's own title" (OK, Cancel, Don't Save). */
#define kAlertDefaultOKText ((CFStringRef)(intptr_t)-1)
#define kAlertDefaultCancelText ((CFStringRef)(intptr_t)-1)
#define kAlertDefaultOtherText ((CFStringRef)(intptr_t)-1)

typedef struct AlertStdCFStringAlertParamRec {
    UInt32 version;
    Boolean movable;
    Boolean helpButton;
    CFStringRef defaultText; /* NULL: no button; kAlertDefaultOKText: "OK" */
    CFStringRef cancelText;  /* NULL: no button; kAlertDefaultCancelText: "Cancel" */
    CFStringRef otherText;   /* NULL: no button; kAlertDefaultOtherText: "Don't Save" */
    SInt16 defaultButton;    /* the item Return presses */
    SInt16 cancelButton;     /* the item Escape presses; 0 for none */
    UInt16 position;         /* kWindowAlertPosition...; only recorded here */
    OptionBits flags;
} AlertStdCFStringAlertParamRec;
typedef AlertStdCFStringAlertParamRec* AlertStdCFStringAlertParamPtr;

/* Filters events while an alert runs; never called here (NULL is normal). */
typedef Boolean (*ModalFilterProcPtr)(DialogRef theDialog, EventRecord* theEvent,
                                      DialogItemIndex* itemHit);
typedef ModalFilterProcPtr ModalFilterUPP;

/*
 * Fills param with the defaults of that version: movable, no help button, an
 * OK button that is the default, no cancel or other button. paramErr for a
 * NULL param or an unknown version.
 */
CF_EXPORT OSStatus GetStandardAlertDefaultParams(AlertStdCFStringAlertParamPtr param,
                                                 UInt32 version);

/*
 * Creates a hidden alert showing error and, when not NULL, explanation (both
 * copied); param NULL means the defaults (one OK button). The alert belongs
 * to the caller until RunStandardAlert disposes of it. paramErr for a NULL
 * error or outAlert.
 */
CF_EXPORT OSStatus CreateStandardAlert(AlertType alertType, CFStringRef error,
                                       CFStringRef explanation,
                                       const AlertStdCFStringAlertParamRec* param,
                                       DialogRef* outAlert);

/*
 * Shows the alert, runs an application-modal loop until one of its buttons is
 * pressed, stores that button's item number in outItemHit and disposes of the
 * alert. The loop's status when the event source fails or runs dry (the alert
 * is disposed of then too, and outItemHit is 0). filterProc is ignored.
 */
CF_EXPORT OSStatus RunStandardAlert(DialogRef inAlert, ModalFilterUPP filterProc,
                                    DialogItemIndex* outItemHit);

/* The alert's window; NULL for a bad dialog. */
CF_EXPORT WindowRef GetDialogWindow(DialogRef dialog);

CF_EXTERN_C_END

#endif /* HITOOLBOX_DIALOGS_H */
