/*
 * CustomValueDialog.h: a small modal dialog in which the user types one value.
 */
#ifndef TOOLKIT_CUSTOMVALUEDIALOG_H
#define TOOLKIT_CUSTOMVALUEDIALOG_H

#include <Carbon/Carbon.h>

CF_EXTERN_C_BEGIN

/* The dialog is the window "CustomValue" of the nib "Utilities" of the calling bundle; its
   text field has this control ID, and its help button sends kHelpButtonCommand. */
enum { kCustomValueFieldSignature = 0x54504445 /* 'TPDE' */, kCustomValueFieldID = 123456 };

/* What the dialog ended with. */
enum { kCustomValueOpen = 0, kCustomValueOK = 1, kCustomValueCancel = 2 };

/*
 * Runs the dialog of `bundle` modally, its field limited to minimumLength..maximumLength
 * (LimitInputLengthAndCharacters) and showing *ioValue when that is a string. Afterwards
 * *dialogResult is kCustomValueOK or kCustomValueCancel; after OK *ioValue is a new string
 * with the field's text, which the caller releases, and after Cancel it is NULL. The string
 * *ioValue held on entry is never released: it stays the caller's. Returns the nib's or the
 * window's error unchanged (and then touches neither output), otherwise the status of
 * installing the dialog's handler (noErr).
 */
CF_EXPORT OSStatus RunModalCustomValueDialog(CFBundleRef bundle, SInt32 minimumLength,
                                             SInt32 maximumLength, CFStringRef* ioValue,
                                             SInt16* dialogResult);

/* The dialog window's command handler: OK and Cancel end the dialog, kHelpButtonCommand
   shows the bundle's help page for custom values. User data: the dialog's state. */
CF_EXPORT OSStatus CustomValueEventHandler(EventHandlerCallRef nextHandler, EventRef event,
                                           void* userData);

CF_EXTERN_C_END

#endif /* TOOLKIT_CUSTOMVALUEDIALOG_H */
