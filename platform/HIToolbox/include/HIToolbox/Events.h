/*
 * Events.h: the keyboard vocabulary of keystroke events: modifier bits,
 * the character codes of the editing and navigation keys, and the virtual
 * key codes of the keys that the toolbox itself reacts to.
 */
#ifndef HITOOLBOX_EVENTS_H
#define HITOOLBOX_EVENTS_H

#include <CoreFoundation/CFBase.h>

CF_EXTERN_C_BEGIN

typedef UInt16 EventModifiers;

/* Modifier bits (kEventParamKeyModifiers, key filters). */
enum {
    activeFlag = 0x0001,
    btnState = 0x0080,
    cmdKey = 0x0100,
    shiftKey = 0x0200,
    alphaLock = 0x0400,
    optionKey = 0x0800,
    controlKey = 0x1000
};

/* Character codes of special keys (kEventParamKeyMacCharCodes). */
enum {
    kNullCharCode = 0,
    kHomeCharCode = 1,
    kEnterCharCode = 3,
    kEndCharCode = 4,
    kHelpCharCode = 5,
    kBellCharCode = 7,
    kBackspaceCharCode = 8,
    kTabCharCode = 9,
    kLineFeedCharCode = 10,
    kVerticalTabCharCode = 11,
    kPageUpCharCode = 11,
    kFormFeedCharCode = 12,
    kPageDownCharCode = 12,
    kReturnCharCode = 13,
    kFunctionKeyCharCode = 16,
    kEscapeCharCode = 27,
    kClearCharCode = 27,
    kLeftArrowCharCode = 28,
    kRightArrowCharCode = 29,
    kUpArrowCharCode = 30,
    kDownArrowCharCode = 31,
    kSpaceCharCode = 32,
    kDeleteCharCode = 127
};

/* Virtual key codes (kEventParamKeyCode) of an ANSI keyboard's special keys. */
enum {
    kVK_Return = 0x24,
    kVK_Tab = 0x30,
    kVK_Space = 0x31,
    kVK_Delete = 0x33,
    kVK_Escape = 0x35,
    kVK_ANSI_KeypadEnter = 0x4C,
    kVK_Home = 0x73,
    kVK_PageUp = 0x74,
    kVK_ForwardDelete = 0x75,
    kVK_End = 0x77,
    kVK_PageDown = 0x79,
    kVK_LeftArrow = 0x7B,
    kVK_RightArrow = 0x7C,
    kVK_DownArrow = 0x7D,
    kVK_UpArrow = 0x7E
};

/* ---- Event records ------------------------------------------------------ */

typedef UInt16 EventKind;

/* EventRecord.what */
enum {
    nullEvent = 0,
    mouseDown = 1,
    mouseUp = 2,
    keyDown = 3,
    keyUp = 4,
    autoKey = 5,
    updateEvt = 6,
    diskEvt = 7,
    activateEvt = 8,
    osEvt = 15,
    kHighLevelEvent = 23
};

/* The classic event record, as modal filter procedures receive it. */
typedef struct EventRecord {
    EventKind what;
    unsigned long message;
    UInt32 when;
    Point where;
    EventModifiers modifiers;
} EventRecord;

CF_EXTERN_C_END

#endif /* HITOOLBOX_EVENTS_H */
