/*
 * ControlDefinitions.h: the kinds of control, their creation calls and the
 * data tags each kind answers to.
 */
#ifndef HITOOLBOX_CONTROLDEFINITIONS_H
#define HITOOLBOX_CONTROLDEFINITIONS_H

#include <HIToolbox/Controls.h>

CF_EXTERN_C_BEGIN

/* Kinds (signature kControlKindSignatureApple). */
enum {
    kControlKindUserPane = 0x7570616E /* 'upan' */,
    kControlKindPushButton = 0x70757368 /* 'push' */,
    kControlKindCheckBox = 0x63626F78 /* 'cbox' */,
    kControlKindRadioButton = 0x7264696F /* 'rdio' */,
    kControlKindStaticText = 0x73747874 /* 'stxt' */,
    kControlKindEditText = 0x65747874 /* 'etxt' */,
    kControlKindEditUnicodeText = 0x65757478 /* 'eutx' */,
    kControlKindPopupButton = 0x706F7062 /* 'popb' */,
    kControlKindTabs = 0x74616273 /* 'tabs' */,
    kControlKindGroupBox = 0x67727062 /* 'grpb' */,
    kControlKindSeparator = 0x73657061 /* 'sepa' */,
    kControlKindBevelButton = 0x6265766C /* 'bevl' */,
    kControlKindPicture = 0x70696374 /* 'pict' */,
    kControlKindIcon = 0x69636F6E /* 'icon' */,
    kControlKindImageWell = 0x77656C6C /* 'well' */,
    kControlKindScrollBar = 0x73626172 /* 'sbar' */,
    kControlKindSlider = 0x736C6472 /* 'sldr' */,
    kControlKindLittleArrows = 0x6C617272 /* 'larr' */,
    kControlKindProgressBar = 0x70726762 /* 'prgb' */,
    kControlKindChasingArrows = 0x63617272 /* 'carr' */,
    kControlKindDisclosureTriangle = 0x64697374 /* 'dist' */,
    kControlKindRadioGroup = 0x72677270 /* 'rgrp' */
};

/* ---- User pane --------------------------------------------------------- */

/*
 * A plain container or custom-drawn area. It embeds other controls only when
 * created with kControlSupportsEmbedding among its features.
 */
CF_EXPORT OSStatus CreateUserPaneControl(WindowRef window, const Rect* boundsRect, UInt32 features,
                                         ControlRef* outControl);

typedef void (*ControlUserPaneDrawProcPtr)(ControlRef control, ControlPartCode part);
typedef ControlPartCode (*ControlUserPaneHitTestProcPtr)(ControlRef control, Point where);
typedef void (*ControlUserPaneIdleProcPtr)(ControlRef control);
typedef ControlPartCode (*ControlUserPaneKeyDownProcPtr)(ControlRef control, SInt16 keyCode,
                                                         SInt16 charCode, SInt16 modifiers);
typedef void (*ControlUserPaneActivateProcPtr)(ControlRef control, Boolean activating);
typedef ControlPartCode (*ControlUserPaneFocusProcPtr)(ControlRef control, ControlFocusPart action);
typedef ControlUserPaneDrawProcPtr ControlUserPaneDrawUPP;
typedef ControlUserPaneHitTestProcPtr ControlUserPaneHitTestUPP;
typedef ControlUserPaneIdleProcPtr ControlUserPaneIdleUPP;
typedef ControlUserPaneKeyDownProcPtr ControlUserPaneKeyDownUPP;
typedef ControlUserPaneActivateProcPtr ControlUserPaneActivateUPP;
typedef ControlUserPaneFocusProcPtr ControlUserPaneFocusUPP;

/* Each tag holds one procedure pointer (sizeof the UPP type). */
enum {
    kControlUserPaneDrawProcTag = 0x64726177 /* 'draw' */,
    kControlUserPaneHitTestProcTag = 0x68697474 /* 'hitt' */,
    kControlUserPaneIdleProcTag = 0x69646C65 /* 'idle' */,
    kControlUserPaneKeyDownProcTag = 0x6B657964 /* 'keyd' */,
    kControlUserPaneActivateProcTag = 0x61637469 /* 'acti' */,
    kControlUserPaneFocusProcTag = 0x666F6369 /* 'foci' */
};

/* ---- Push button ------------------------------------------------------- */

/* A button with the given title (copied); value 0, range 0 to 1. */
CF_EXPORT OSStatus CreatePushButtonControl(WindowRef window, const Rect* boundsRect,
                                           CFStringRef title, ControlRef* outControl);

/* Boolean tags: drawn as the window's default (or cancel) button. */
enum {
    kControlPushButtonDefaultTag = 0x64666C74 /* 'dflt' */,
    kControlPushButtonCancelTag = 0x636E636C /* 'cncl' */
};

/* ---- Check box and radio button ----------------------------------------- */

/*
 * A check box or radio button with the given title (copied) and value. With
 * autoToggle a click changes the value before kEventControlHit is sent: a
 * check box goes from checked (or mixed) to unchecked and from unchecked to
 * checked; a radio button becomes checked. Without it the value is left to
 * the control's handlers. Range 0 to 2.
 */
CF_EXPORT OSStatus CreateCheckBoxControl(WindowRef window, const Rect* boundsRect,
                                         CFStringRef title, SInt32 initialValue, Boolean autoToggle,
                                         ControlRef* outControl);
CF_EXPORT OSStatus CreateRadioButtonControl(WindowRef window, const Rect* boundsRect,
                                            CFStringRef title, SInt32 initialValue,
                                            Boolean autoToggle, ControlRef* outControl);

/* A radio group embeds radio buttons and keeps exactly one of them on: its value is the
   number of the chosen button (1 for the first embedded, 0 for none), its maximum the number
   of buttons. A click on a button, or a new value of the group, moves the choice. It has no
   look of its own. */
CF_EXPORT OSStatus CreateRadioGroupControl(WindowRef window, const Rect* boundsRect,
                                           ControlRef* outControl);

enum {
    kControlCheckBoxUncheckedValue = 0,
    kControlCheckBoxCheckedValue = 1,
    kControlCheckBoxMixedValue = 2
};
enum {
    kControlRadioButtonUncheckedValue = 0,
    kControlRadioButtonCheckedValue = 1,
    kControlRadioButtonMixedValue = 2
};

/* ---- Static text -------------------------------------------------------- */

/* A label showing `text` (copied; may be NULL) in `style` (may be NULL). */
CF_EXPORT OSStatus CreateStaticTextControl(WindowRef window, const Rect* boundsRect,
                                           CFStringRef text, const ControlFontStyleRec* style,
                                           ControlRef* outControl);

enum {
    kControlStaticTextStyleTag = kControlFontStyleTag,         /* ControlFontStyleRec */
    kControlStaticTextTextTag = 0x74657874 /* 'text' */,       /* bytes, system encoding */
    kControlStaticTextTextHeightTag = 0x74686569 /* 'thei' */, /* SInt16, get only */
    kControlStaticTextTruncTag = 0x7472756E /* 'trun' */,      /* TruncCode; -1 for none */
    kControlStaticTextCFStringTag = 0x63667374 /* 'cfst' */,   /* CFStringRef */
    kControlStaticTextIsMultilineTag = 0x7374696D /* 'stim' */ /* Boolean */
};

/* How text too wide for its control is shortened (kControlStaticTextTruncTag). */
typedef SInt16 TruncCode;
enum { truncEnd = 0, truncMiddle = 0x4000 };

/* ---- Edit text ---------------------------------------------------------- */

/*
 * A one-line text field with `text` (may be NULL). A password field keeps
 * the typed text and shows a bullet for each character. useInlineInput is
 * kept for compatibility; input methods do not exist here. Fields support
 * focus and take it on a click.
 */
CF_EXPORT OSStatus CreateEditTextControl(WindowRef window, const Rect* boundsRect, CFStringRef text,
                                         Boolean isPassword, Boolean useInlineInput,
                                         const ControlFontStyleRec* style, ControlRef* outControl);
/* The same field under the kind kControlKindEditUnicodeText. */
CF_EXPORT OSStatus CreateEditUnicodeTextControl(WindowRef window, const Rect* boundsRect,
                                                CFStringRef text, Boolean isPassword,
                                                const ControlFontStyleRec* style,
                                                ControlRef* outControl);

enum {
    kControlEditTextStyleTag = kControlFontStyleTag,        /* ControlFontStyleRec */
    kControlEditTextTextTag = 0x74657874 /* 'text' */,      /* bytes, system encoding */
    kControlEditTextKeyFilterTag = kControlKeyFilterTag,    /* ControlKeyFilterUPP */
    kControlEditTextSelectionTag = 0x73656C65 /* 'sele' */, /* ControlEditTextSelectionRec */
    kControlEditTextPasswordTag = 0x70617373 /* 'pass' */,  /* bytes: a password's clear text */
    kControlEditTextCharCount = 0x63687263 /* 'chrc' */,    /* UInt32, get only */
    kControlEditTextLockedTag = 0x6C6F636B /* 'lock' */,    /* Boolean: not editable */
    kControlEditTextCFStringTag = 0x63667374 /* 'cfst' */,  /* CFStringRef */
    kControlEditTextPasswordCFStringTag = 0x70776366 /* 'pwcf' */, /* CFStringRef, clear text */
    kControlEditTextSingleLineTag = 0x73676C63 /* 'sglc' */        /* Boolean */
};

/* Offsets in UTF-16 units; a caret has selStart == selEnd. */
typedef struct ControlEditTextSelectionRec {
    SInt16 selStart;
    SInt16 selEnd;
} ControlEditTextSelectionRec;
typedef ControlEditTextSelectionRec* ControlEditTextSelectionPtr;

/* Notifications of an edit text field, sent to the field only. */
enum { kEventClassTextField = 0x74786664 /* 'txfd' */ };
enum { kEventTextAccepted = 1, kEventTextShouldChangeInRange = 2, kEventTextDidChange = 3 };

/* ---- Popup button ------------------------------------------------------- */

/*
 * A popup button with `title` shown before its menu. menuID -12345 gives a
 * popup with no menu yet (give it one with the menu tags below); any other
 * ID gives it an empty menu of its own under that ID (there is no menu bar
 * to take one from). The value is the number of the selected item.
 * variableWidth, titleWidth, titleJustification and titleStyle are kept for
 * drawing.
 */
CF_EXPORT OSStatus CreatePopupButtonControl(WindowRef window, const Rect* boundsRect,
                                            CFStringRef title, MenuID menuID, Boolean variableWidth,
                                            SInt16 titleWidth, SInt16 titleJustification,
                                            Style titleStyle, ControlRef* outControl);

/*
 * Menu tags hold a MenuRef (pointer-sized). Setting kControlPopupButtonMenuRefTag
 * makes the popup retain the menu; kControlPopupButtonOwnedMenuRefTag hands it
 * the caller's reference. Either way the popup releases the menu when it is
 * given another or disposed of, and its maximum becomes the item count.
 * Reading either tag gives the menu without a new reference (NULL if none).
 */
enum {
    kControlPopupButtonMenuHandleTag = 0x6D68616E /* 'mhan' */,
    kControlPopupButtonMenuRefTag = 0x6D68616E /* 'mhan' */,
    kControlPopupButtonMenuIDTag = 0x6D6E6964 /* 'mnid' */,      /* SInt16 */
    kControlPopupButtonExtraHeightTag = 0x65786874 /* 'exht' */, /* SInt16 */
    kControlPopupButtonOwnedMenuRefTag = 0x6F6D7266 /* 'omrf' */,
    kControlPopupButtonCheckCurrentTag = 0x6368636B /* 'chck' */ /* Boolean */
};

/* The popup's menu (no new reference; NULL if none), and giving it one the popup retains. */
CF_EXPORT MenuRef GetControlPopupMenuHandle(ControlRef control);
CF_EXPORT void SetControlPopupMenuHandle(ControlRef control, MenuRef popupMenu);

enum {
    popupTitleLeftJust = 0x00000000,
    popupTitleCenterJust = 0x00000001,
    popupTitleRightJust = 0x000000FF
};

/* ---- Tabs --------------------------------------------------------------- */

typedef SInt16 ControlContentType;
enum {
    kControlContentTextOnly = 0,
    kControlNoContent = 0,
    kControlContentIconSuiteRes = 1,
    kControlContentCIconRes = 2,
    kControlContentPictRes = 3,
    kControlContentICONRes = 4,
    kControlContentIconSuiteHandle = 129,
    kControlContentCIconHandle = 130,
    kControlContentPictHandle = 131,
    kControlContentIconRef = 132,
    kControlContentICON = 133,
    kControlContentCGImageRef = 134
};

/* An image for a button or tab; only the text-only form is drawn here. */
typedef struct ControlImageContentInfo {
    ControlContentType contentType;
    union {
        SInt16 resID;
        void* iconRef;
        void* imageRef;
    } u;
} ControlImageContentInfo;
typedef ControlImageContentInfo ControlButtonContentInfo;
typedef ControlButtonContentInfo* ControlButtonContentInfoPtr;

typedef UInt16 ControlTabDirection;
enum {
    kControlTabDirectionNorth = 0,
    kControlTabDirectionSouth = 1,
    kControlTabDirectionEast = 2,
    kControlTabDirectionWest = 3
};
typedef UInt16 ControlTabSize;
enum { kControlTabSizeLarge = 0, kControlTabSizeSmall = 1, kControlTabSizeMini = 3 };

typedef struct ControlTabEntry {
    ControlButtonContentInfo* icon;
    CFStringRef name;
    Boolean enabled;
} ControlTabEntry;

/*
 * A tab control with numTabs tabs (names copied). The value is the selected
 * tab, from 1; a click on a tab selects it. It embeds other controls.
 */
CF_EXPORT OSStatus CreateTabsControl(WindowRef window, const Rect* boundsRect, ControlTabSize size,
                                     ControlTabDirection direction, UInt16 numTabs,
                                     const ControlTabEntry* tabArray, ControlRef* outControl);

/* The part code of a tab's tags is its number, from 1. */
enum {
    kControlTabContentRectTag = 0x72656374 /* 'rect' */, /* Rect, get only */
    kControlTabEnabledFlagTag = 0x656E6162 /* 'enab' */, /* Boolean */
    kControlTabFontStyleTag = kControlFontStyleTag,
    kControlTabInfoTag = 0x74616269 /* 'tabi' */ /* ControlTabInfoRec or V1 */
};

enum { kControlTabInfoVersionZero = 0, kControlTabInfoVersionOne = 1 };

typedef struct ControlTabInfoRec {
    SInt16 version; /* kControlTabInfoVersionZero */
    SInt16 iconSuiteID;
    Str255 name; /* Mac Roman */
} ControlTabInfoRec;

typedef struct ControlTabInfoRecV1 {
    SInt16 version; /* kControlTabInfoVersionOne */
    SInt16 iconSuiteID;
    CFStringRef name; /* copied when set; a new reference when got */
} ControlTabInfoRecV1;

/* ---- Group box and separator ------------------------------------------- */

/* A titled frame (title copied; may be NULL) that embeds the controls it
   groups; a secondary one draws lighter. */
CF_EXPORT OSStatus CreateGroupBoxControl(WindowRef window, const Rect* boundsRect,
                                         CFStringRef title, Boolean primary,
                                         ControlRef* outControl);
enum { kControlGroupBoxFontStyleTag = kControlFontStyleTag };

/* A line across the longer side of its bounds. */
CF_EXPORT OSStatus CreateSeparatorControl(WindowRef window, const Rect* boundsRect,
                                          ControlRef* outControl);

CF_EXTERN_C_END

#endif /* HITOOLBOX_CONTROLDEFINITIONS_H */
