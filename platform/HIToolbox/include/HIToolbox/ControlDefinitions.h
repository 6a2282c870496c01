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
    kControlKindDisclosureTriangle = 0x64697374 /* 'dist' */
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

CF_EXTERN_C_END

#endif /* HITOOLBOX_CONTROLDEFINITIONS_H */
