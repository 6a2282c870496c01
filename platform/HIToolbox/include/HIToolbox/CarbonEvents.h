/*
 * CarbonEvents.h: Carbon events, their parameters, event targets and handlers.
 *
 * Dispatch: an event sent to a target goes to the target's handlers, most
 * recently installed first. A handler that returns eventNotHandledErr passes
 * it on to the next one; after the target's own handlers the event moves to
 * the target's parent (control -> embedding control -> window -> application)
 * and, when nobody handled it, to the toolbox's standard behaviour for it.
 * CallNextEventHandler runs all of that remaining chain at once and returns
 * its result; the calling handler's own result then ends the dispatch.
 */
#ifndef HITOOLBOX_CARBONEVENTS_H
#define HITOOLBOX_CARBONEVENTS_H

#include <HIToolbox/HIToolboxErrors.h>
#include <HIToolbox/HIToolboxTypes.h>

CF_EXTERN_C_BEGIN

/* ---- Time -------------------------------------------------------------- */

/* Seconds since the system started. */
typedef double EventTime;
typedef EventTime EventTimeout;
typedef EventTime EventTimerInterval;

#define kEventDurationSecond ((EventTime)1.0)
#define kEventDurationMillisecond ((EventTime)(kEventDurationSecond / 1000))
#define kEventDurationMicrosecond ((EventTime)(kEventDurationSecond / 1000000))
#define kEventDurationNanosecond ((EventTime)(kEventDurationSecond / 1000000000))
#define kEventDurationMinute ((EventTime)(kEventDurationSecond * 60))
#define kEventDurationHour ((EventTime)(kEventDurationMinute * 60))
#define kEventDurationDay ((EventTime)(kEventDurationHour * 24))
#define kEventDurationNoWait ((EventTime)0.0)
#define kEventDurationForever ((EventTime)(-1.0))

/* The current time on the event clock. */
CF_EXPORT EventTime GetCurrentEventTime(void);

/* ---- Event types and parameters ---------------------------------------- */

typedef struct EventTypeSpec {
    UInt32 eventClass;
    UInt32 eventKind;
} EventTypeSpec;

#define GetEventTypeCount(list) (sizeof(list) / sizeof(EventTypeSpec))

typedef OSType EventParamName;
typedef OSType EventParamType;
typedef UInt32 EventAttributes;

enum {
    kEventAttributeNone = 0,
    kEventAttributeUserEvent = (1 << 0),
    kEventAttributeMonitored = (1 << 3)
};

/* Event classes */
enum {
    kEventClassMouse = 0x6D6F7573 /* 'mous' */,
    kEventClassKeyboard = 0x6B657962 /* 'keyb' */,
    kEventClassTextInput = 0x74657874 /* 'text' */,
    kEventClassApplication = 0x6170706C /* 'appl' */,
    kEventClassAppleEvent = 0x65707063 /* 'eppc' */,
    kEventClassMenu = 0x6D656E75 /* 'menu' */,
    kEventClassWindow = 0x77696E64 /* 'wind' */,
    kEventClassControl = 0x636E746C /* 'cntl' */,
    kEventClassCommand = 0x636D6473 /* 'cmds' */,
    kEventClassTablet = 0x74626C74 /* 'tblt' */,
    kEventClassVolume = 0x766F6C20 /* 'vol ' */
};

/* kEventClassMouse */
enum {
    kEventMouseDown = 1,
    kEventMouseUp = 2,
    kEventMouseMoved = 5,
    kEventMouseDragged = 6,
    kEventMouseEntered = 8,
    kEventMouseExited = 9,
    kEventMouseWheelMoved = 10
};

typedef UInt16 EventMouseButton;
enum {
    kEventMouseButtonPrimary = 1,
    kEventMouseButtonSecondary = 2,
    kEventMouseButtonTertiary = 3
};

/* kEventClassKeyboard */
enum {
    kEventRawKeyDown = 1,
    kEventRawKeyRepeat = 2,
    kEventRawKeyUp = 3,
    kEventRawKeyModifiersChanged = 4,
    kEventHotKeyPressed = 5,
    kEventHotKeyReleased = 6
};

/* kEventClassTextInput */
enum {
    kEventTextInputUpdateActiveInputArea = 1,
    kEventTextInputUnicodeForKeyEvent = 2,
    kEventTextInputOffsetToPos = 3,
    kEventTextInputPosToOffset = 4,
    kEventTextInputShowHideBottomWindow = 5,
    kEventTextInputGetSelectedText = 6
};

/* kEventClassApplication */
enum {
    kEventAppActivated = 1,
    kEventAppDeactivated = 2,
    kEventAppQuit = 3,
    kEventAppLaunchNotification = 4,
    kEventAppLaunched = 5,
    kEventAppTerminated = 6,
    kEventAppFrontSwitched = 7
};

/* kEventClassWindow */
enum {
    kEventWindowUpdate = 1,
    kEventWindowDrawContent = 2,
    kEventWindowActivated = 5,
    kEventWindowDeactivated = 6,
    kEventWindowGetClickActivation = 7,
    kEventWindowShowing = 22,
    kEventWindowHiding = 23,
    kEventWindowShown = 24,
    kEventWindowHidden = 25,
    kEventWindowBoundsChanging = 26,
    kEventWindowBoundsChanged = 27,
    kEventWindowClose = 72,
    kEventWindowClosed = 73,
    kEventWindowFocusAcquired = 200,
    kEventWindowFocusRelinquish = 201,
    kEventWindowDrawFrame = 1000,
    kEventWindowDispose = 1005
};

/* Attributes of kEventWindowBoundsChanged (kEventParamAttributes). */
enum {
    kWindowBoundsChangeUserDrag = (1 << 0),
    kWindowBoundsChangeUserResize = (1 << 1),
    kWindowBoundsChangeSizeChanged = (1 << 2),
    kWindowBoundsChangeOriginChanged = (1 << 3)
};

/* kEventClassMenu */
enum {
    kEventMenuBeginTracking = 1,
    kEventMenuEndTracking = 2,
    kEventMenuChangeTrackingMode = 3,
    kEventMenuOpening = 4,
    kEventMenuClosed = 5,
    kEventMenuTargetItem = 6,
    kEventMenuMatchKey = 7,
    kEventMenuEnableItems = 8,
    kEventMenuDispose = 1001
};

/* kEventClassCommand */
enum { kEventProcessCommand = 1, kEventCommandProcess = 1, kEventCommandUpdateStatus = 2 };

/* kEventClassControl */
enum {
    kEventControlInitialize = 1000,
    kEventControlDispose = 1001,
    kEventControlGetOptimalBounds = 1003,
    kEventControlHit = 1,
    kEventControlSimulateHit = 2,
    kEventControlHitTest = 3,
    kEventControlDraw = 4,
    kEventControlApplyBackground = 5,
    kEventControlApplyTextColor = 6,
    kEventControlSetFocusPart = 7,
    kEventControlGetFocusPart = 8,
    kEventControlActivate = 9,
    kEventControlDeactivate = 10,
    kEventControlSetCursor = 11,
    kEventControlContextualMenuClick = 12,
    kEventControlClick = 13,
    kEventControlTrack = 51,
    kEventControlGetPartRegion = 101,
    kEventControlGetPartBounds = 102,
    kEventControlSetData = 103,
    kEventControlGetData = 104,
    kEventControlValueFieldChanged = 151,
    kEventControlAddedSubControl = 152,
    kEventControlRemovingSubControl = 153,
    kEventControlBoundsChanged = 154,
    kEventControlVisibilityChanged = 157,
    kEventControlTitleChanged = 158,
    kEventControlOwningWindowChanged = 159,
    kEventControlHiliteChanged = 160,
    kEventControlEnabledStateChanged = 161,
    kEventControlArbitraryMessage = 201
};

/* Attributes of kEventControlBoundsChanged (kEventParamAttributes). */
enum { kControlBoundsChangeSizeChanged = (1 << 2), kControlBoundsChangePositionChanged = (1 << 3) };

/* Parameter names */
enum {
    kEventParamDirectObject = 0x2D2D2D2D /* '----' */,
    kEventParamWindowRef = 0x77696E64 /* 'wind' */,
    kEventParamGrafPort = 0x67726166 /* 'graf' */,
    kEventParamMenuRef = 0x6D656E75 /* 'menu' */,
    kEventParamEventRef = 0x65766E74 /* 'evnt' */,
    kEventParamControlRef = 0x6374726C /* 'ctrl' */,
    kEventParamEnabled = 0x656E6162 /* 'enab' */,
    kEventParamDimensions = 0x64696D73 /* 'dims' */,
    kEventParamCGContextRef = 0x636E7478 /* 'cntx' */,
    kEventParamAttributes = 0x61747472 /* 'attr' */,
    kEventParamCurrentBounds = 0x63726374 /* 'crct' */,
    kEventParamOriginalBounds = 0x6F726374 /* 'orct' */,
    kEventParamPreviousBounds = 0x70726374 /* 'prct' */,
    kEventParamMouseLocation = 0x6D6C6F63 /* 'mloc' */,
    kEventParamMouseButton = 0x6D62746E /* 'mbtn' */,
    kEventParamClickCount = 0x63636E74 /* 'ccnt' */,
    kEventParamKeyCode = 0x6B636F64 /* 'kcod' */,
    kEventParamKeyMacCharCodes = 0x6B636872 /* 'kchr' */,
    kEventParamKeyModifiers = 0x6B6D6F64 /* 'kmod' */,
    kEventParamKeyUnicodes = 0x6B756E69 /* 'kuni' */,
    kEventParamTextInputSendText = 0x74737478 /* 'tstx' */,
    kEventParamTextInputSendKeyboardEvent = 0x74736B65 /* 'tske' */,
    kEventParamHICommand = 0x68636D64 /* 'hcmd' */,
    kEventParamControlPart = 0x63707274 /* 'cprt' */,
    kEventParamControlSubControl = 0x63737562 /* 'csub' */,
    kEventParamControlOptimalBounds = 0x636F626E /* 'cobn' */,
    kEventParamControlOptimalBaselineOffset = 0x636F626F /* 'cobo' */,
    kEventParamControlDataTag = 0x63647467 /* 'cdtg' */,
    kEventParamControlDataBuffer = 0x63646266 /* 'cdbf' */,
    kEventParamControlDataBufferSize = 0x63646273 /* 'cdbs' */,
    kEventParamControlFeatures = 0x63667472 /* 'cftr' */,
    kEventParamControlOriginalOwningWindow = 0x636F6F77 /* 'coow' */,
    kEventParamControlCurrentOwningWindow = 0x63636F77 /* 'ccow' */,
    kEventParamMenuItemIndex = 0x6974656D /* 'item' */,
    kEventParamMenuCommand = 0x6D636D64 /* 'mcmd' */
};

/* Parameter types */
enum {
    typeWildCard = 0x2A2A2A2A /* '****' */,
    typeNull = 0x6E756C6C /* 'null' */,
    typeBoolean = 0x626F6F6C /* 'bool' */,
    typeChar = 0x54455854 /* 'TEXT' */,
    typeUnicodeText = 0x75747874 /* 'utxt' */,
    typeUTF8Text = 0x75746638 /* 'utf8' */,
    typeSInt16 = 0x73686F72 /* 'shor' */,
    typeUInt16 = 0x75736872 /* 'ushr' */,
    typeSInt32 = 0x6C6F6E67 /* 'long' */,
    typeUInt32 = 0x6D61676E /* 'magn' */,
    typeSInt64 = 0x636F6D70 /* 'comp' */,
    typeUInt64 = 0x75636F6D /* 'ucom' */,
    typeIEEE32BitFloatingPoint = 0x73696E67 /* 'sing' */,
    typeIEEE64BitFloatingPoint = 0x646F7562 /* 'doub' */,
    typeShortInteger = 0x73686F72 /* 'shor' */,
    typeLongInteger = 0x6C6F6E67 /* 'long' */,
    typeType = 0x74797065 /* 'type' */,
    typeEnumeration = 0x656E756D /* 'enum' */,
    typeFSRef = 0x66737266 /* 'fsrf' */,
    typeCFStringRef = 0x63667374 /* 'cfst' */,
    typeCFMutableStringRef = 0x63666D73 /* 'cfms' */,
    typeCFTypeRef = 0x63667479 /* 'cfty' */,
    typeQDPoint = 0x51447074 /* 'QDpt' */,
    typeQDRectangle = 0x71647274 /* 'qdrt' */,
    typeWindowRef = 0x77696E64 /* 'wind' */,
    typeGrafPtr = 0x67726166 /* 'graf' */,
    typeMenuRef = 0x6D656E75 /* 'menu' */,
    typeControlRef = 0x6374726C /* 'ctrl' */,
    typeEventRef = 0x65767266 /* 'evrf' */,
    typeEventTargetRef = 0x65747267 /* 'etrg' */,
    typeHICommand = 0x68636D64 /* 'hcmd' */,
    typeOSStatus = 0x6F737374 /* 'osst' */,
    typeControlPartCode = 0x63707274 /* 'cprt' */,
    typeMenuItemIndex = 0x6D696478 /* 'midx' */,
    typeMenuCommand = 0x6D636D64 /* 'mcmd' */,
    typeMouseButton = 0x6D62746E /* 'mbtn' */,
    typeCGContextRef = 0x636E7478 /* 'cntx' */
};

/* ---- Commands ---------------------------------------------------------- */

enum {
    kHICommandOK = 0x6F6B2020 /* 'ok  ' */,
    kHICommandCancel = 0x6E6F7421 /* 'not!' */,
    kHICommandQuit = 0x71756974 /* 'quit' */,
    kHICommandUndo = 0x756E646F /* 'undo' */,
    kHICommandRedo = 0x7265646F /* 'redo' */,
    kHICommandCut = 0x63757420 /* 'cut ' */,
    kHICommandCopy = 0x636F7079 /* 'copy' */,
    kHICommandPaste = 0x70617374 /* 'past' */,
    kHICommandClear = 0x636C6561 /* 'clea' */,
    kHICommandSelectAll = 0x73616C6C /* 'sall' */,
    kHICommandHide = 0x68696465 /* 'hide' */,
    kHICommandPreferences = 0x70726566 /* 'pref' */,
    kHICommandAbout = 0x61626F75 /* 'abou' */,
    kHICommandNew = 0x6E657720 /* 'new ' */,
    kHICommandOpen = 0x6F70656E /* 'open' */,
    kHICommandClose = 0x636C6F73 /* 'clos' */,
    kHICommandSave = 0x73617665 /* 'save' */,
    kHICommandPrint = 0x70726E74 /* 'prnt' */,
    kHICommandPageSetup = 0x70616765 /* 'page' */,
    kHICommandAppHelp = 0x61686C70 /* 'ahlp' */
};

/* Where a command came from (HICommand.attributes). */
enum {
    kHICommandFromMenu = (1 << 0),
    kHICommandFromControl = (1 << 1),
    kHICommandFromWindow = (1 << 2)
};

/* A command, as carried by kEventParamDirectObject of kEventCommandProcess.
   Its size is the platform's own: 24 bytes with 64-bit references. */
typedef struct HICommand {
    UInt32 attributes;
    UInt32 commandID;
    struct {
        MenuRef menuRef;
        MenuItemIndex menuItemIndex;
    } menu;
} HICommand;

typedef struct HICommandExtended {
    UInt32 attributes;
    UInt32 commandID;
    union {
        ControlRef control;
        WindowRef window;
        struct {
            MenuRef menuRef;
            MenuItemIndex menuItemIndex;
        } menu;
    } source;
} HICommandExtended;

/* ---- Events ------------------------------------------------------------ */

/*
 * Creates an event of the given class and kind with no parameters; the caller
 * releases it with ReleaseEvent. paramErr when outEvent is NULL.
 */
CF_EXPORT OSStatus CreateEvent(CFAllocatorRef inAllocator, UInt32 inClassID, UInt32 inKind,
                               EventTime inWhen, EventAttributes inAttributes, EventRef* outEvent);
/* A new event with the same class, kind, time and parameters (caller releases). */
CF_EXPORT EventRef CopyEvent(EventRef inOther);
CF_EXPORT EventRef RetainEvent(EventRef inEvent);
CF_EXPORT ItemCount GetEventRetainCount(EventRef inEvent);
CF_EXPORT void ReleaseEvent(EventRef inEvent);

CF_EXPORT UInt32 GetEventClass(EventRef inEvent);
CF_EXPORT UInt32 GetEventKind(EventRef inEvent);
CF_EXPORT EventTime GetEventTime(EventRef inEvent);
CF_EXPORT OSStatus SetEventTime(EventRef inEvent, EventTime inTime);

/*
 * Stores a copy of inSize bytes under inName, replacing an earlier value.
 * Parameters of typeCFStringRef, typeCFMutableStringRef, typeCFTypeRef and
 * typeEventRef hold a reference: the event retains the object until the
 * parameter is replaced or the event is released.
 */
CF_EXPORT OSStatus SetEventParameter(EventRef inEvent, EventParamName inName, EventParamType inType,
                                     ByteCount inSize, const void* inDataPtr);

/*
 * Copies a parameter out. inDesiredType must be the stored type or
 * typeWildCard (there is no coercion): another type gives errAECoercionFail.
 * A missing parameter gives eventParameterNotFoundErr. outActualType and
 * outActualSize (either may be NULL) receive the stored type and full size;
 * outData may be NULL to ask only for those. A buffer smaller than the value
 * gives errDataSizeMismatch and copies nothing, except for the text types
 * (typeChar, typeUnicodeText, typeUTF8Text), whose leading bytes are copied.
 */
CF_EXPORT OSStatus GetEventParameter(EventRef inEvent, EventParamName inName,
                                     EventParamType inDesiredType, EventParamType* outActualType,
                                     ByteCount inBufferSize, ByteCount* outActualSize,
                                     void* outData);

/* eventParameterNotFoundErr when the event has no such parameter. */
CF_EXPORT OSStatus RemoveEventParameter(EventRef inEvent, EventParamName inName);

/* ---- Handlers ---------------------------------------------------------- */

typedef OSStatus (*EventHandlerProcPtr)(EventHandlerCallRef inHandlerCallRef, EventRef inEvent,
                                        void* inUserData);
/* Procedure pointers are plain function pointers on this platform. */
typedef EventHandlerProcPtr EventHandlerUPP;

CF_EXPORT EventHandlerUPP NewEventHandlerUPP(EventHandlerProcPtr userRoutine);
CF_EXPORT void DisposeEventHandlerUPP(EventHandlerUPP userUPP);
CF_EXPORT OSStatus InvokeEventHandlerUPP(EventHandlerCallRef inHandlerCallRef, EventRef inEvent,
                                         void* inUserData, EventHandlerUPP userUPP);

CF_EXPORT EventTargetRef GetWindowEventTarget(WindowRef inWindow);
CF_EXPORT EventTargetRef GetControlEventTarget(ControlRef inControl);
CF_EXPORT EventTargetRef GetMenuEventTarget(MenuRef inMenu);
CF_EXPORT EventTargetRef GetApplicationEventTarget(void);

/*
 * Installs a handler for the listed event types (inNumTypes may be 0; add
 * types later). The proc and user data together identify a handler: the same
 * pair on the same target gives eventHandlerAlreadyInstalledErr. The handler
 * lives until RemoveEventHandler or until its target is disposed; outRef may
 * be NULL when it is never removed by hand.
 */
CF_EXPORT OSStatus InstallEventHandler(EventTargetRef inTarget, EventHandlerUPP inHandler,
                                       ItemCount inNumTypes, const EventTypeSpec* inList,
                                       void* inUserData, EventHandlerRef* outRef);

#define InstallApplicationEventHandler(h, n, l, u, r)                                              \
    InstallEventHandler(GetApplicationEventTarget(), (h), (n), (l), (u), (r))
#define InstallWindowEventHandler(t, h, n, l, u, r)                                                \
    InstallEventHandler(GetWindowEventTarget(t), (h), (n), (l), (u), (r))
#define InstallControlEventHandler(t, h, n, l, u, r)                                               \
    InstallEventHandler(GetControlEventTarget(t), (h), (n), (l), (u), (r))
#define InstallMenuEventHandler(t, h, n, l, u, r)                                                  \
    InstallEventHandler(GetMenuEventTarget(t), (h), (n), (l), (u), (r))

/* Removes a handler; the reference is invalid afterwards. Safe while the
   handler (or any other) is running: it is simply not called again. */
CF_EXPORT OSStatus RemoveEventHandler(EventHandlerRef inHandlerRef);

/* Types are counted: a type added twice needs two removals. */
CF_EXPORT OSStatus AddEventTypesToHandler(EventHandlerRef inHandlerRef, ItemCount inNumTypes,
                                          const EventTypeSpec* inList);
CF_EXPORT OSStatus RemoveEventTypesFromHandler(EventHandlerRef inHandlerRef, ItemCount inNumTypes,
                                               const EventTypeSpec* inList);

/* Runs the rest of the dispatch chain (see the top of this file) from inside
   a handler and returns its result. paramErr outside a handler call. */
CF_EXPORT OSStatus CallNextEventHandler(EventHandlerCallRef inCallRef, EventRef inEvent);

enum { kEventTargetDontPropagate = (1 << 0) };

/* Dispatches the event synchronously; returns the result that ended it, or
   eventNotHandledErr when no handler and no standard behaviour took it. */
CF_EXPORT OSStatus SendEventToEventTarget(EventRef inEvent, EventTargetRef inTarget);
/* With kEventTargetDontPropagate only the target itself (and its standard
   behaviour) sees the event. */
CF_EXPORT OSStatus SendEventToEventTargetWithOptions(EventRef inEvent, EventTargetRef inTarget,
                                                     OptionBits inOptions);

/* The user input event (mouse, keyboard or text input) being dispatched, the innermost one when
   such events nest (a key's text input inside its key-down); NULL outside their dispatch. Not
   retained: valid while its dispatch runs. */
CF_EXPORT EventRef GetCurrentEvent(void);

CF_EXTERN_C_END

#endif /* HITOOLBOX_CARBONEVENTS_H */
