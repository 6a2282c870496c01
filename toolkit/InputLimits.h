/*
 * InputLimits.h: limiting what the user may type into an editable text field (an edit text
 * or a combo box), and the notifications a limited field sends about its text.
 */
#ifndef TOOLKIT_INPUTLIMITS_H
#define TOOLKIT_INPUTLIMITS_H

#include <Carbon/Carbon.h>

CF_EXTERN_C_BEGIN

/* The limits are control properties of the field under this creator. "Tlen" and "Tmln" hold
   an SInt32 each; "Tchr" holds a CFCharacterSetRef (pointer-sized), retained while stored. */
enum {
    kInputLimitCreator = 0x54504445 /* 'TPDE' */,
    kInputLimitMaximumLengthTag = 0x546C656E /* 'Tlen' */,
    kInputLimitMinimumLengthTag = 0x546D6C6E /* 'Tmln' */,
    kInputLimitCharactersTag = 0x54636872 /* 'Tchr' */
};

/* After every keystroke that reaches the field, and when an entry of a combo box's list is
   picked, the field is sent an event of class 'TPDE' (no attributes) with the field as its
   kEventParamDirectObject (typeControlRef). */
enum { kEventClassInputLimit = 0x54504445 /* 'TPDE' */ };
enum {
    kEventInputTextEmpty = 0x49436E6F /* 'ICno': the text is empty */,
    kEventInputTextTooShort = 0x49436677 /* 'ICfw': shorter than the minimum length */,
    kEventInputTextLongEnough = 0x4943736F /* 'ICso': at least the minimum, or a list pick */
};

/*
 * Limits `control`: a maximumLength (UTF-16 units) of 1 or more caps the text, 0 or less
 * lifts the cap; a minimumLength of 1 or more sets the minimum the notifications measure
 * against (else 1); allowedCharacters, when given, is retained and is the set typed
 * characters must come from, and NULL lifts that limit. Typed keys that break a limit are
 * refused with the system beep; pasted or programmatically set text is not examined.
 * A second call on the same control replaces the limits and the handler of the first: the
 * control never carries more than one LimitInputEventHandler. Nothing happens for NULL.
 */
CF_EXPORT void LimitInputLengthAndCharacters(ControlRef control, SInt32 minimumLength,
                                             SInt32 maximumLength,
                                             CFCharacterSetRef allowedCharacters);

/* The handler LimitInputLengthAndCharacters installs on the field (user data: the field):
   typed text, the field's disposal (the character set is released) and a combo box's list
   pick. */
CF_EXPORT OSStatus LimitInputEventHandler(EventHandlerCallRef nextHandler, EventRef event,
                                          void* userData);

CF_EXTERN_C_END

#endif /* TOOLKIT_INPUTLIMITS_H */
