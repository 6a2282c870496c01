/*
 * PlatformHost.h: what the host program and the tests need from HIToolbox
 * beyond Apple's calls. Not part of any Mac interface.
 */
#ifndef HITOOLBOX_PLATFORMHOST_H
#define HITOOLBOX_PLATFORMHOST_H

#include <HIToolbox/Appearance.h>
#include <HIToolbox/Controls.h>
#include <HIToolbox/Menus.h>
#include <cairo.h>
#include <stdio.h>

CF_EXTERN_C_BEGIN

/*
 * Copies up to `capacity` windows, front to back, into `outWindows` (which
 * may be NULL when capacity is 0) and returns how many windows exist. The
 * references are not retained.
 */
CF_EXPORT ItemCount PlatformCopyWindowList(WindowRef* outWindows, ItemCount capacity);

/*
 * Writes a text dump of the window and its control tree to `out`: one line
 * for the window (ending in nib="Name" for a window built from a nib), then one line per control,
 * depth-first, indented two spaces per level, with its control ID, kind, bounds, visibility,
 * enabling, value and range, its title or text, and what its kind adds (an edit text's selection, a
 * popup's items, a text view's text, selection and scroll position on the pane hosting it; "focus"
 * on the focused control; password fields show bullets). paramErr for a NULL stream,
 * errInvalidWindowRef for a bad window.
 */
CF_EXPORT OSStatus PlatformWriteWindowDump(WindowRef window, FILE* out);

/* ---- User input, as a pointer and a keyboard would give it ------------- */

/*
 * Clicks a control: sends it kEventControlClick, whose standard handling
 * tracks it as Carbon does (a check box toggles, a radio button turns on, an
 * edit text field takes the focus) and then sends kEventControlHit, which
 * propagates to the embedders and the window; a control with a command ID
 * then sends kEventCommandProcess (attributes kHICommandFromControl) from
 * itself. errControlHiddenOrDisabled, and nothing sent, for a control that is
 * hidden, disabled or inactive; paramErr for a bad control. Otherwise the
 * status of the click's dispatch (noErr once handled).
 */
CF_EXPORT OSStatus PlatformClickControl(ControlRef control);

/*
 * Clicks a popup button and chooses item `item` of its menu (or, on a tab
 * control, clicks tab `item`): the value becomes the item and
 * kEventControlHit follows, as for a click. menuItemNotFoundErr for a number
 * outside the menu (or the tabs), errControlHiddenOrDisabled for a disabled
 * item or tab, and as PlatformClickControl otherwise.
 */
CF_EXPORT OSStatus PlatformChoosePopupItem(ControlRef popup, MenuItemIndex item);

/*
 * Presses and releases one key in `window` (NULL: the frontmost visible
 * window). charCode is the key's character (kReturnCharCode, kTabCharCode,
 * kBackspaceCharCode, kLeftArrowCharCode, 'a', or a UTF-16 unit beyond
 * ASCII); modifiers are the held keys (shiftKey, ...). The focused control
 * (else the window) gets kEventRawKeyDown; unless a handler takes it, Return
 * and Enter click the window's default button, Escape its cancel button,
 * Tab goes to the focus as text input first and, unless a handler takes it
 * there, moves the focus (Shift-Tab back); any other key goes to the focus
 * as kEventTextInputUnicodeForKeyEvent, where an edit text field runs its key
 * filter and edits. kEventRawKeyUp follows to the focus of that moment.
 * errInvalidWindowRef when there is no such window; otherwise the status of
 * the key-down's dispatch.
 */
CF_EXPORT OSStatus PlatformTypeKey(WindowRef window, UniChar charCode, UInt32 modifiers);

/* Types each character of `text` as PlatformTypeKey does ("\n" is Return).
   paramErr for a NULL text; errInvalidWindowRef as above; else noErr. */
CF_EXPORT OSStatus PlatformTypeText(WindowRef window, CFStringRef text);

/*
 * Pastes `text` into the focused text field of `window` (an edit text or a
 * combo box), as the Paste command does: the selection becomes the text,
 * without key filters or text-input events (and so without their limits);
 * kEventTextDidChange follows. A locked field beeps and stays as it was.
 * paramErr for a NULL text, errInvalidWindowRef for a bad window,
 * errUnknownControl when no text field has the focus; otherwise noErr.
 */
CF_EXPORT OSStatus PlatformPasteText(WindowRef window, CFStringRef text);

/*
 * Shows `text` as the text an input method is composing (its preedit) in the
 * focused edit text field of `window`: drawn underlined where the selection
 * is, with the caret at UTF-16 offset `caret` into it (-1: at its end), but
 * not part of the field's text, which neither changes nor hears of it. NULL
 * or empty text ends the composition; so does the field losing the focus.
 * The composed text is committed by typing it (PlatformTypeText). paramErr
 * for a text that is not a string, errInvalidWindowRef for a bad window,
 * errUnknownControl when no edit text field has the focus.
 */
CF_EXPORT OSStatus PlatformSetMarkedText(WindowRef window, CFStringRef text, CFIndex caret);

/* ---- Pixels ------------------------------------------------------------- */

/*
 * Draws the whole window (background and every visible control) and writes
 * its backing store as a PNG file of the content's size. The file is written
 * next to `path` under a temporary name and renamed into place. paramErr for
 * a NULL path, errInvalidWindowRef for a bad window, ioErr when the file
 * cannot be written (the reason goes to standard error).
 */
CF_EXPORT OSStatus PlatformWriteWindowPNG(WindowRef window, const char* path);

/*
 * The pixel at (x, y) of the window's content, as 0xAARRGGBB, after the
 * window has repainted whatever waits to be repainted. paramErr outside the
 * content or for a NULL result, errInvalidWindowRef for a bad window.
 */
CF_EXPORT OSStatus PlatformCopyWindowPixel(WindowRef window, SInt32 x, SInt32 y, UInt32* outARGB);

/*
 * A new cairo context on the port's backing store, for frameworks that draw
 * into windows (pictures); clipped to the area being repainted during an
 * update. The caller destroys it. NULL for a bad port or one whose window
 * is gone.
 */
CF_EXPORT cairo_t* PlatformCreatePortContext(CGrafPtr port);

/* ---- The event source ---------------------------------------------------- */

/*
 * Where user actions come from: modal loops (RunAppModalLoopForWindow,
 * standard alerts) and the host's own loop (PlatformRunEventSource) pull
 * them one at a time. A script of actions is the first kind of source
 * (PlatformCreateScriptEventSource); a window system could be another.
 */
typedef struct PlatformEventSource {
    /* What the source is, for messages ("tests/print.script"); may be NULL. */
    const char* name;
    void* info;
    /*
     * Carries out the next user action through the toolbox (a click, a key,
     * a choice in a popup) and returns noErr. eofErr when there are no more;
     * any other status when the source failed, after saying why on standard
     * error (it then keeps failing with that status).
     */
    OSStatus (*performNextAction)(void* info);
    /* A notice went up (CFUserNotificationDisplayNotice); may be NULL. */
    void (*notice)(void* info, CFOptionFlags level, CFStringRef header, CFStringRef message);
    /* The source is no longer in use; may be NULL. */
    void (*release)(void* info);
} PlatformEventSource;

/*
 * Makes `source` (copied, name included) the event source; NULL removes it.
 * The previous source is released (after its running call, if any). While a
 * source with a notice callback is installed, each
 * CFUserNotificationDisplayNotice goes to standard error and to that callback
 * (this replaces the host's notice handler; removing the source restores the
 * default one).
 */
CF_EXPORT void PlatformSetEventSource(const PlatformEventSource* source);

/*
 * The host's loop: carries out actions until the source has no more (noErr)
 * or fails (its status). paramErr (and a line on standard error) when no
 * source is installed.
 */
CF_EXPORT OSStatus PlatformRunEventSource(void);

/*
 * Reads a script of user actions (docs/scripting.md) and fills `outSource`
 * with a source that plays it; install it with PlatformSetEventSource, which
 * takes it over. Dumps are written into `outputFolder` (NULL: the current
 * folder). fnfErr when the script cannot be read; a script with a bad line
 * gives paramErr and a line on standard error naming the file and line.
 */
CF_EXPORT OSStatus PlatformCreateScriptEventSource(const char* scriptPath, const char* outputFolder,
                                                   PlatformEventSource* outSource);

/*
 * The line of the first step of a script source (as filled in by
 * PlatformCreateScriptEventSource) that has not run yet; 0 when every step
 * has run, or when `source` is no script source. A host whose dialog has
 * ended asks it: steps left over would never run.
 */
CF_EXPORT int PlatformScriptEventSourceNextLine(const PlatformEventSource* source);

/* ---- Windows on a display --------------------------------------------- */

/*
 * The deepest visible control of the window at `where` (window-local
 * points), into *outControl (NULL when only the window's background is
 * there). paramErr for a NULL result, errInvalidWindowRef for a bad window.
 */
CF_EXPORT OSStatus PlatformFindControlAt(WindowRef window, Point where, ControlRef* outControl);

/*
 * Starts loading the system's fonts in the background, so that the first
 * text a window lays out (a panel measuring its labels) waits less: for a
 * host to call early, before it loads its plug-ins. Text still works
 * without it.
 */
CF_EXPORT void PlatformPrepareText(void);

/*
 * Draws the window at `scale` device pixels per point (1 for snapshots, 2
 * on a dense display) into its backing store from then on, repaints what
 * waits to be repainted, and returns the backing store, referenced (the
 * caller destroys it). NULL for a bad window or a scale outside 1 to 4.
 */
CF_EXPORT cairo_surface_t* PlatformCopyWindowSurface(WindowRef window, double scale);

/*
 * An event source that shows every visible window in a native window on the
 * desktop and takes the person's clicks, keys and text from there. The
 * display backend is a separate module, loaded on the first call: programs
 * that never show a window never load it. Where it lives: the environment's
 * CARBONRT_DISPLAY_MODULE, else carbon-runtime/libHIToolboxDisplay.so beside
 * the HIToolbox library. fnfErr (and a line on standard error) when the
 * module cannot be loaded or no display can be opened.
 */
CF_EXPORT OSStatus PlatformCreateDisplayEventSource(PlatformEventSource* outSource);

/* What the display module exports, by this name, to make the source. */
typedef OSStatus (*PlatformDisplayModuleEntry)(PlatformEventSource* outSource);
#define kPlatformDisplayModuleEntryName "PlatformDisplayModuleCreateSource"
/* ---- The mouse and the menus --------------------------------------------- */

/*
 * Presses the mouse button at `where` (window-local) with `modifiers`:
 * kEventMouseDown (mouse location in global coordinates, modifiers, click
 * count `clicks`) goes to the deepest visible control under the point
 * (kEventControlHitTest finds the part; else the window); unless a handler
 * takes it, the control is clicked as PlatformClickControl does.
 * errInvalidWindowRef for a bad window; otherwise the status of the
 * mouse-down's dispatch or of the click.
 */
CF_EXPORT OSStatus PlatformPressMouse(WindowRef window, Point where, UInt32 modifiers,
                                      UInt32 clicks);
/* Moves the held mouse to `where` (kEventMouseDragged to the window), or
   releases it there (kEventMouseUp). */
CF_EXPORT OSStatus PlatformDragMouse(WindowRef window, Point where);
CF_EXPORT OSStatus PlatformReleaseMouse(WindowRef window, Point where);
/* Moves the free mouse to `where`: kEventWindowCursorChange to the window. */
CF_EXPORT OSStatus PlatformMoveMouse(WindowRef window, Point where);
/* The cursor last set with SetThemeCursor. */
CF_EXPORT ThemeCursor PlatformGetThemeCursor(void);

/*
 * Asks for the status of every item of `menu` that has a command ID:
 * kEventCommandUpdateStatus (attributes kHICommandFromMenu) to the window's
 * focus (else the window), whose handlers enable or disable the item.
 */
CF_EXPORT OSStatus PlatformUpdateMenuStatus(WindowRef window, MenuRef menu);
/*
 * Chooses item `item` of `menu` as a person would from the menu bar: its
 * status is updated first; a disabled item gives errControlHiddenOrDisabled,
 * an item without a command ID menuItemNotFoundErr; otherwise
 * kEventCommandProcess (kHICommandFromMenu) goes to the focus (else the
 * window) and its status is returned.
 */
CF_EXPORT OSStatus PlatformChooseMenuCommand(WindowRef window, MenuRef menu, MenuItemIndex item);

/* ---- The clipboard --------------------------------------------------------- */

/*
 * Joins the scrap (<HIToolbox/Scrap.h>) to a clipboard outside the process.
 * scrapChanged: the process changed the scrap (cleared it or put a flavor);
 * the host may offer its text to the desktop. copyDesktopText: asked each
 * time the scrap is about to be read (GetCurrentScrap); a new string
 * (released by the toolbox) replaces the scrap with that text, NULL leaves
 * the scrap as it is (return NULL while the desktop holds what the process
 * put there). Either callback may be NULL.
 */
typedef struct PlatformScrapHost {
    void* info;
    void (*scrapChanged)(void* info);
    CFStringRef (*copyDesktopText)(void* info);
} PlatformScrapHost;

/* Installs the host (copied); NULL removes it. */
CF_EXPORT void PlatformSetScrapHost(const PlatformScrapHost* host);

CF_EXTERN_C_END

#endif /* HITOOLBOX_PLATFORMHOST_H */
