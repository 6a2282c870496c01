/*
 * Controls.h: controls as objects. A control belongs to one window and sits
 * in a tree under the window's root control; the window owns them all.
 * Bounds are in the owning window's local coordinates. Moving or resizing a
 * control moves its embedded controls with it.
 */
#ifndef HITOOLBOX_CONTROLS_H
#define HITOOLBOX_CONTROLS_H

#include <HIToolbox/Events.h>
#include <HIToolbox/MacWindows.h>
#include <HIToolbox/Quickdraw.h>

CF_EXTERN_C_BEGIN

typedef struct ControlID {
    OSType signature;
    SInt32 id;
} ControlID;

typedef struct ControlKind {
    OSType signature;
    OSType kind;
} ControlKind;

enum {
    kControlKindSignatureApple = 0x6170706C /* 'appl' */
};

typedef SInt16 ControlFocusPart;

enum {
    kControlNoPart = 0,
    kControlEntireControl = 0,
    kControlLabelPart = 1,
    kControlMenuPart = 2,
    kControlTrianglePart = 4,
    kControlEditTextPart = 5,
    kControlPicturePart = 6,
    kControlIconPart = 7,
    kControlClockPart = 8,
    kControlButtonPart = 10,
    kControlCheckBoxPart = 11,
    kControlRadioButtonPart = 12,
    kControlUpButtonPart = 20,
    kControlDownButtonPart = 21,
    kControlPageUpPart = 22,
    kControlPageDownPart = 23,
    kControlIndicatorPart = 129,
    kControlDisabledPart = 254,
    kControlInactivePart = 255
};

enum { kControlFocusNoPart = 0, kControlFocusNextPart = -1, kControlFocusPrevPart = -2 };

/* Control features (GetControlFeatures). */
enum {
    kControlSupportsGhosting = (1u << 0),
    kControlSupportsEmbedding = (1u << 1),
    kControlSupportsFocus = (1u << 2),
    kControlWantsIdle = (1u << 3),
    kControlWantsActivate = (1u << 4),
    kControlHandlesTracking = (1u << 5),
    kControlSupportsDataAccess = (1u << 6),
    kControlHasSpecialBackground = (1u << 7),
    kControlGetsFocusOnClick = (1u << 8),
    kControlSupportsCalcBestRect = (1u << 9),
    kControlSupportsLiveFeedback = (1u << 10),
    kControlHasRadioBehavior = (1u << 11),
    kControlSupportsDragAndDrop = (1u << 12),
    kControlAutoToggles = (1u << 14),
    kControlSupportsGetRegion = (1u << 17),
    kControlSupportsFlattening = (1u << 19),
    kControlSupportsSetCursor = (1u << 20),
    kControlSupportsContextualMenus = (1u << 21),
    kControlSupportsClickActivation = (1u << 22),
    kControlIdlesWithTimer = (1u << 23)
};

/* ---- Font style and key filters common to several kinds ---------------- */

/* Which fields of a ControlFontStyleRec apply (its flags). */
enum {
    kControlUseFontMask = 0x0001,
    kControlUseFaceMask = 0x0002,
    kControlUseSizeMask = 0x0004,
    kControlUseForeColorMask = 0x0008,
    kControlUseBackColorMask = 0x0010,
    kControlUseModeMask = 0x0020,
    kControlUseJustMask = 0x0040,
    kControlUseThemeFontIDMask = 0x0080,
    kControlUseAllMask = 0x00FF,
    kControlAddFontSizeMask = 0x0100,
    kControlAddToMetaFontMask = 0x0200
};

/* Meta-font numbers for ControlFontStyleRec.font. */
enum {
    kControlFontBigSystemFont = -1,
    kControlFontSmallSystemFont = -2,
    kControlFontSmallBoldSystemFont = -3,
    kControlFontViewSystemFont = -4,
    kControlFontMiniSystemFont = -5
};

/* The text look of a control: 24 bytes, as the Control Manager has it. */
typedef struct ControlFontStyleRec {
    SInt16 flags;
    SInt16 font;
    SInt16 size;
    SInt16 style;
    SInt16 mode;
    SInt16 just;
    RGBColor foreColor;
    RGBColor backColor;
} ControlFontStyleRec;
typedef ControlFontStyleRec* ControlFontStylePtr;

/* The font style of any control: for kinds with a font style tag it is that tag; others keep
   it for their titles. A NULL style, or flags of 0, returns the control to its kind's font. */
CF_EXPORT OSErr SetControlFontStyle(ControlRef inControl, const ControlFontStyleRec* inStyle);

/* Tags several kinds answer to: the font style (a ControlFontStyleRec) and
   the key filter (a ControlKeyFilterUPP, pointer-sized). */
enum {
    kControlFontStyleTag = 0x666F6E74 /* 'font' */,
    kControlKeyFilterTag = 0x666C7472 /* 'fltr' */
};

/*
 * A key filter sees each key typed into the control before the control acts
 * on it, and may change the key codes. kControlKeyFilterBlockKey drops the
 * key; kControlKeyFilterPassKey lets it through.
 */
enum { kControlKeyFilterBlockKey = 0, kControlKeyFilterPassKey = 1 };
typedef SInt16 ControlKeyFilterResult;
typedef ControlKeyFilterResult (*ControlKeyFilterProcPtr)(ControlRef theControl, SInt16* keyCode,
                                                          SInt16* charCode,
                                                          EventModifiers* modifiers);
/* Procedure pointers are plain function pointers on this platform. */
typedef ControlKeyFilterProcPtr ControlKeyFilterUPP;

CF_EXPORT ControlKeyFilterUPP NewControlKeyFilterUPP(ControlKeyFilterProcPtr userRoutine);
CF_EXPORT void DisposeControlKeyFilterUPP(ControlKeyFilterUPP userUPP);
CF_EXPORT ControlKeyFilterResult InvokeControlKeyFilterUPP(ControlRef theControl, SInt16* keyCode,
                                                           SInt16* charCode,
                                                           EventModifiers* modifiers,
                                                           ControlKeyFilterUPP userUPP);

/* ---- Lifetime, kind, identity ----------------------------------------- */

/* Sends kEventControlDispose to the control, disposes of its embedded
   controls the same way, removes its handlers and frees it. */
CF_EXPORT void DisposeControl(ControlRef theControl);

CF_EXPORT OSStatus GetControlKind(ControlRef inControl, ControlKind* outControlKind);
CF_EXPORT OSErr GetControlFeatures(ControlRef inControl, UInt32* outFeatures);
CF_EXPORT WindowRef GetControlOwner(ControlRef inControl);

CF_EXPORT OSStatus SetControlID(ControlRef inControl, const ControlID* inID);
CF_EXPORT OSStatus GetControlID(ControlRef inControl, ControlID* outID);
/* Depth-first from the window's root, in embedding order; errUnknownControl
   when no control of the window has the ID. */
CF_EXPORT OSStatus GetControlByID(WindowRef inWindow, const ControlID* inID,
                                  ControlRef* outControl);

CF_EXPORT OSStatus SetControlCommandID(ControlRef inControl, UInt32 inCommandID);
CF_EXPORT OSStatus GetControlCommandID(ControlRef inControl, UInt32* outCommandID);
CF_EXPORT void SetControlReference(ControlRef theControl, SRefCon data);
CF_EXPORT SRefCon GetControlReference(ControlRef theControl);

/* ---- Embedding ---------------------------------------------------------- */

/* A window's root control embeds its top-level controls. It is created on
   demand by the first control made in the window; CreateRootControl makes it
   explicitly (errRootAlreadyExists once it exists). */
CF_EXPORT OSErr CreateRootControl(WindowRef inWindow, ControlRef* outControl);
/* errNoRootControl while the window has none. */
CF_EXPORT OSErr GetRootControl(WindowRef inWindow, ControlRef* outControl);

/*
 * Makes inControl the last subcontrol of inContainer, keeping its bounds.
 * The container may belong to another window: the control and its subtree
 * then move there. errControlIsNotEmbedder when the container does not
 * support embedding, errCantEmbedIntoSelf for the control itself or one of
 * its subcontrols, errCantEmbedRoot for a root control.
 */
CF_EXPORT OSErr EmbedControl(ControlRef inControl, ControlRef inContainer);
/* The embedding control; NULL (and noErr) for a root control. */
CF_EXPORT OSErr GetSuperControl(ControlRef inControl, ControlRef* outParent);
CF_EXPORT OSErr CountSubControls(ControlRef inControl, UInt16* outNumChildren);
/* inIndex counts from 1; paramErr outside the range. */
CF_EXPORT OSErr GetIndexedSubControl(ControlRef inControl, UInt16 inIndex,
                                     ControlRef* outSubControl);

/* ---- Geometry ---------------------------------------------------------- */

CF_EXPORT Rect* GetControlBounds(ControlRef control, Rect* bounds);
CF_EXPORT void SetControlBounds(ControlRef control, const Rect* bounds);
/* Moves the top-left corner to (h, v). */
CF_EXPORT void MoveControl(ControlRef theControl, SInt16 h, SInt16 v);
CF_EXPORT void SizeControl(ControlRef theControl, SInt16 w, SInt16 h);

/* ---- State ------------------------------------------------------------- */

/* Visible, enabled and active are the control's own flags combined with
   those of every embedding control: hiding a pane hides what it holds. */
CF_EXPORT void ShowControl(ControlRef theControl);
CF_EXPORT void HideControl(ControlRef theControl);
CF_EXPORT OSErr SetControlVisibility(ControlRef inControl, Boolean inIsVisible, Boolean inDoDraw);
CF_EXPORT Boolean IsControlVisible(ControlRef inControl);

CF_EXPORT OSStatus EnableControl(ControlRef inControl);
CF_EXPORT OSStatus DisableControl(ControlRef inControl);
CF_EXPORT Boolean IsControlEnabled(ControlRef inControl);

CF_EXPORT OSErr ActivateControl(ControlRef inControl);
CF_EXPORT OSErr DeactivateControl(ControlRef inControl);
CF_EXPORT Boolean IsControlActive(ControlRef inControl);

/* ---- Drawing ------------------------------------------------------------ */

/* Draws the control and its embedded controls now, unless it is hidden.
   kEventControlDraw goes to the control first: a handler that returns noErr
   draws the control itself, in place of the standard look. */
CF_EXPORT void Draw1Control(ControlRef theControl);
/* Draws every visible control of the window. */
CF_EXPORT void DrawControls(WindowRef theWindow);
/* Draws the visible controls that meet the region's bounding box (every
   control for a NULL region). */
CF_EXPORT void UpdateControls(WindowRef inWindow, RgnHandle inUpdateRegion);

/*
 * The control's preferred rectangle for its current content: the top-left
 * corner is the control's, the size what its text (measured in the theme's
 * fonts) and the kind's chrome need. A control that does not measure itself
 * gives its bounds. *outBaseLineOffset (may be NULL) is the text's baseline
 * relative to the rectangle's bottom, usually negative, 0 without text. A
 * kEventControlGetOptimalBounds handler may answer instead. paramErr for a
 * bad control or a NULL rect.
 */
CF_EXPORT OSErr GetBestControlRect(ControlRef inControl, Rect* outRect, SInt16* outBaseLineOffset);

/* ---- Values and titles ------------------------------------------------- */

/* The value always lies within [minimum, maximum]; setting either limit pulls
   the value in. A change of any of the three sends
   kEventControlValueFieldChanged. */
CF_EXPORT SInt32 GetControl32BitValue(ControlRef theControl);
CF_EXPORT void SetControl32BitValue(ControlRef theControl, SInt32 newValue);
CF_EXPORT SInt32 GetControl32BitMinimum(ControlRef theControl);
CF_EXPORT void SetControl32BitMinimum(ControlRef theControl, SInt32 newMinimum);
CF_EXPORT SInt32 GetControl32BitMaximum(ControlRef theControl);
CF_EXPORT void SetControl32BitMaximum(ControlRef theControl, SInt32 newMaximum);
CF_EXPORT SInt16 GetControlValue(ControlRef theControl);
CF_EXPORT void SetControlValue(ControlRef theControl, SInt16 newValue);
CF_EXPORT SInt16 GetControlMinimum(ControlRef theControl);
CF_EXPORT void SetControlMinimum(ControlRef theControl, SInt16 newMinimum);
CF_EXPORT SInt16 GetControlMaximum(ControlRef theControl);
CF_EXPORT void SetControlMaximum(ControlRef theControl, SInt16 newMaximum);

/* The control keeps a copy of the title; Copy hands the caller a reference
   (an empty string when no title was set). */
CF_EXPORT OSStatus SetControlTitleWithCFString(ControlRef inControl, CFStringRef inString);
CF_EXPORT OSStatus CopyControlTitleAsCFString(ControlRef inControl, CFStringRef* outString);

/* ---- Properties -------------------------------------------------------- */

/* Blobs of any size kept under (creator, tag). controlPropertyNotFoundErr
   when there is none; errDataSizeMismatch when the buffer is too small. */
CF_EXPORT OSStatus SetControlProperty(ControlRef control, OSType propertyCreator,
                                      OSType propertyTag, ByteCount propertySize,
                                      const void* propertyData);
CF_EXPORT OSStatus GetControlProperty(ControlRef control, OSType propertyCreator,
                                      OSType propertyTag, ByteCount bufferSize,
                                      ByteCount* actualSize, void* propertyBuffer);
CF_EXPORT OSStatus GetControlPropertySize(ControlRef control, OSType propertyCreator,
                                          OSType propertyTag, ByteCount* size);
CF_EXPORT OSStatus RemoveControlProperty(ControlRef control, OSType propertyCreator,
                                         OSType propertyTag);

/* ---- Keyboard focus ---------------------------------------------------- */

/*
 * The control that receives the window's keystrokes. Only visible, enabled
 * controls that support focus (kControlSupportsFocus: edit text fields, and
 * user panes created with it) take it. inPart is the part to focus, or
 * kControlFocusNextPart / kControlFocusPrevPart for the control's first or
 * last part; kControlFocusNoPart (or a NULL control) clears the focus. An
 * edit text field that gains the focus selects all its text.
 * errControlDoesntSupportFocus for a control that cannot take it,
 * errControlHiddenOrDisabled for a hidden or disabled one, paramErr for a
 * control of another window.
 */
CF_EXPORT OSErr SetKeyboardFocus(WindowRef inWindow, ControlRef inControl, ControlFocusPart inPart);

/* Sends kEventControlSetCursor (mouse location localPoint, window-local) to
   the control; *outCursorWasSet tells whether a handler set the cursor. */
CF_EXPORT OSStatus HandleControlSetCursor(ControlRef control, Point localPoint,
                                          EventModifiers modifiers, Boolean* outCursorWasSet);
/* The focused control, or NULL (and noErr) when none has the focus. */
CF_EXPORT OSErr GetKeyboardFocus(WindowRef inWindow, ControlRef* outControl);
CF_EXPORT OSErr ClearKeyboardFocus(WindowRef inWindow);
/* Moves the focus to the next (previous) control that can take it, in
   embedding order, wrapping around; errCouldntSetFocus when none can. */
CF_EXPORT OSErr AdvanceKeyboardFocus(WindowRef inWindow);
CF_EXPORT OSErr ReverseKeyboardFocus(WindowRef inWindow);

/* ---- Kind data --------------------------------------------------------- */

/*
 * Data that the control's kind defines (ControlDefinitions.h lists the tags).
 * errDataNotSupported for a tag the kind does not know, errDataSizeMismatch
 * for a size that does not fit the tag's type.
 */
CF_EXPORT OSErr SetControlData(ControlRef inControl, ControlPartCode inPart, ResType inTagName,
                               Size inSize, const void* inData);
CF_EXPORT OSErr GetControlData(ControlRef inControl, ControlPartCode inPart, ResType inTagName,
                               Size inBufferSize, void* inBuffer, Size* outActualSize);
CF_EXPORT OSErr GetControlDataSize(ControlRef inControl, ControlPartCode inPart, ResType inTagName,
                                   Size* outMaxSize);

CF_EXTERN_C_END

#endif /* HITOOLBOX_CONTROLS_H */
