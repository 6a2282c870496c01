/*
 * MacWindows.h: windows. A window owns its controls (through its root
 * control), its graphics port and its event target. Windows are created
 * invisible and live until DisposeWindow.
 */
#ifndef HITOOLBOX_MACWINDOWS_H
#define HITOOLBOX_MACWINDOWS_H

#include <HIToolbox/CarbonEvents.h>
#include <HIToolbox/Quickdraw.h>

CF_EXTERN_C_BEGIN

typedef UInt32 WindowClass;
typedef OptionBits WindowAttributes;
typedef UInt16 WindowRegionCode;

enum {
    kAlertWindowClass = 1,
    kMovableAlertWindowClass = 2,
    kModalWindowClass = 3,
    kMovableModalWindowClass = 4,
    kFloatingWindowClass = 5,
    kDocumentWindowClass = 6,
    kUtilityWindowClass = 8,
    kHelpWindowClass = 10,
    kSheetWindowClass = 11,
    kToolbarWindowClass = 12,
    kPlainWindowClass = 13,
    kOverlayWindowClass = 14,
    kSheetAlertWindowClass = 15,
    kAltPlainWindowClass = 16,
    kSimpleWindowClass = 18,
    kDrawerWindowClass = 20
};
#define kAllWindowClasses ((WindowClass)0xFFFFFFFFu)

enum {
    kWindowNoAttributes = 0,
    kWindowCloseBoxAttribute = (1u << 0),
    kWindowHorizontalZoomAttribute = (1u << 1),
    kWindowVerticalZoomAttribute = (1u << 2),
    kWindowFullZoomAttribute = (kWindowVerticalZoomAttribute | kWindowHorizontalZoomAttribute),
    kWindowCollapseBoxAttribute = (1u << 3),
    kWindowResizableAttribute = (1u << 4),
    kWindowSideTitlebarAttribute = (1u << 5),
    kWindowToolbarButtonAttribute = (1u << 6),
    kWindowMetalAttribute = (1u << 8),
    kWindowNoUpdatesAttribute = (1u << 16),
    kWindowNoActivatesAttribute = (1u << 17),
    kWindowOpaqueForEventsAttribute = (1u << 18),
    kWindowCompositingAttribute = (1u << 19),
    kWindowNoShadowAttribute = (1u << 21),
    kWindowHideOnSuspendAttribute = (1u << 24),
    kWindowStandardHandlerAttribute = (1u << 25),
    kWindowHideOnFullScreenAttribute = (1u << 26),
    kWindowInWindowMenuAttribute = (1u << 27),
    kWindowLiveResizeAttribute = (1u << 28),
    kWindowIgnoreClicksAttribute = (1u << 29),
    kWindowStandardDocumentAttributes = (kWindowCloseBoxAttribute | kWindowFullZoomAttribute |
                                         kWindowCollapseBoxAttribute | kWindowResizableAttribute),
    kWindowStandardFloatingAttributes = (kWindowCloseBoxAttribute | kWindowCollapseBoxAttribute)
};

enum {
    kWindowTitleBarRgn = 0,
    kWindowTitleTextRgn = 1,
    kWindowCloseBoxRgn = 2,
    kWindowZoomBoxRgn = 3,
    kWindowDragRgn = 5,
    kWindowGrowRgn = 6,
    kWindowCollapseBoxRgn = 7,
    kWindowTitleProxyIconRgn = 8,
    kWindowStructureRgn = 32,
    kWindowContentRgn = 33,
    kWindowUpdateRgn = 34,
    kWindowOpaqueRgn = 35,
    kWindowGlobalPortRgn = 40
};

/* Where a window (or a standard alert) is placed. */
enum {
    kWindowNoPosition = 0x0000,
    kWindowDefaultPosition = 0x0000,
    kWindowCenterMainScreen = 0x280A,
    kWindowAlertPositionMainScreen = 0x300A,
    kWindowStaggerMainScreen = 0x380A,
    kWindowCenterParentWindow = 0xA80A,
    kWindowAlertPositionParentWindow = 0xB00A,
    kWindowStaggerParentWindow = 0xB80A,
    kWindowCenterParentWindowScreen = 0x680A,
    kWindowAlertPositionParentWindowScreen = 0x700A,
    kWindowStaggerParentWindowScreen = 0x780A
};

/*
 * Creates an invisible window whose content has the given global bounds;
 * the caller disposes of it with DisposeWindow. errUnrecognizedWindowClass
 * for an unknown class, paramErr for NULL arguments.
 */
CF_EXPORT OSStatus CreateNewWindow(WindowClass windowClass, WindowAttributes attributes,
                                   const Rect* contentBounds, WindowRef* outWindow);
/* Sends kEventWindowClosed, disposes of every control (each gets
   kEventControlDispose), removes the window's handlers and frees it. */
CF_EXPORT void DisposeWindow(WindowRef window);

CF_EXPORT OSStatus GetWindowClass(WindowRef window, WindowClass* outClass);
CF_EXPORT OSStatus GetWindowAttributes(WindowRef window, WindowAttributes* outAttributes);

/* Show and hide send kEventWindowShown / kEventWindowHidden on a change. */
CF_EXPORT void ShowWindow(WindowRef window);
CF_EXPORT void HideWindow(WindowRef window);
CF_EXPORT Boolean IsWindowVisible(WindowRef window);

/* Sends kEventWindowActivated or kEventWindowDeactivated on a change. */
CF_EXPORT OSStatus ActivateWindow(WindowRef window, Boolean activate);
CF_EXPORT Boolean IsWindowActive(WindowRef window);

/*
 * Bounds in global coordinates, for kWindowContentRgn and kWindowStructureRgn
 * (the same rectangle until windows get a drawn frame); other regions give
 * errWindowRegionCodeInvalid. Setting them sends kEventWindowBoundsChanged.
 */
CF_EXPORT OSStatus GetWindowBounds(WindowRef window, WindowRegionCode regionCode,
                                   Rect* globalBounds);
CF_EXPORT OSStatus SetWindowBounds(WindowRef window, WindowRegionCode regionCode,
                                   const Rect* globalBounds);

/* The window keeps a copy of the title. Copy hands the caller a reference. */
CF_EXPORT OSStatus SetWindowTitleWithCFString(WindowRef window, CFStringRef title);
CF_EXPORT OSStatus CopyWindowTitleAsCFString(WindowRef window, CFStringRef* outTitle);

CF_EXPORT void SetWRefCon(WindowRef window, SRefCon data);
CF_EXPORT SRefCon GetWRefCon(WindowRef window);

/* Marks a rectangle of the content (window-local) for repainting at the
   window's next update. errInvalidWindowRef, paramErr for a NULL rect. */
CF_EXPORT OSStatus InvalWindowRect(WindowRef window, const Rect* bounds);

/* The window's own port; it lives as long as the window. */
CF_EXPORT CGrafPtr GetWindowPort(WindowRef window);
CF_EXPORT WindowRef GetWindowFromPort(CGrafPtr port);

/*
 * The default and cancel buttons: controls of this window (paramErr
 * otherwise) or NULL. The default button's kControlPushButtonDefaultTag and
 * the cancel button's kControlPushButtonCancelTag follow. A button that is
 * disposed of or moved to another window stops being either.
 */
CF_EXPORT OSStatus SetWindowDefaultButton(WindowRef window, ControlRef control);
CF_EXPORT OSStatus GetWindowDefaultButton(WindowRef window, ControlRef* outControl);
CF_EXPORT OSStatus SetWindowCancelButton(WindowRef window, ControlRef control);
CF_EXPORT OSStatus GetWindowCancelButton(WindowRef window, ControlRef* outControl);

/* The window list, front to back. New windows enter at the front. */
CF_EXPORT WindowRef GetWindowList(void);
CF_EXPORT WindowRef GetNextWindow(WindowRef window);
/* The frontmost visible window, or NULL. */
CF_EXPORT WindowRef FrontWindow(void);
CF_EXPORT WindowRef GetFrontWindowOfClass(WindowClass inWindowClass, Boolean mustBeVisible);
CF_EXPORT WindowRef GetNextWindowOfClass(WindowRef inWindow, WindowClass inWindowClass,
                                         Boolean mustBeVisible);
CF_EXPORT void BringToFront(WindowRef window);
/* Brings the window to the front and makes it the only active window. */
CF_EXPORT void SelectWindow(WindowRef window);

/* ---- Application-modal loops -------------------------------------------- */

/*
 * Runs a modal loop for the window: the window comes to the front and, until
 * QuitAppModalLoopForWindow ends the loop, user actions are taken one by one
 * from the host's event source (PlatformSetEventSource) and delivered to it.
 * The caller shows the window first. Loops nest. noErr once quit; an event
 * source that has no more actions (or none installed) ends the loop with
 * eventLoopTimedOutErr and a line on standard error, as does a source that
 * fails (with its status); errInvalidWindowRef for a bad window; a window
 * disposed of while its loop runs ends the loop with noErr.
 */
CF_EXPORT OSStatus RunAppModalLoopForWindow(WindowRef inWindow);
/* Ends the innermost running loop of the window once its current action is
   done; windowNoAppModalStateErr when none runs. */
CF_EXPORT OSStatus QuitAppModalLoopForWindow(WindowRef inWindow);
/* The modal state alone, for code that runs its own loop. A window may enter
   it more than once; each Begin needs an End (windowNoAppModalStateErr). */
CF_EXPORT OSStatus BeginAppModalStateForWindow(WindowRef inWindow);
CF_EXPORT OSStatus EndAppModalStateForWindow(WindowRef inWindow);

CF_EXTERN_C_END

#endif /* HITOOLBOX_MACWINDOWS_H */
