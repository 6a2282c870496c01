/*
 * HIToolboxErrors.h: the status codes of the Carbon Event, Window and Control
 * Managers (Apple's names and values).
 *
 * They live here, not in CoreServices, so that HIToolbox does not depend on a
 * complete error table. Nothing else in the runtime defines these names.
 */
#ifndef HITOOLBOX_HITOOLBOXERRORS_H
#define HITOOLBOX_HITOOLBOXERRORS_H

#include <CoreFoundation/CFBase.h>

CF_EXTERN_C_BEGIN

/* Carbon Event Manager */
enum {
    eventAlreadyPostedErr = -9860,
    eventTargetBusyErr = -9861,
    eventClassInvalidErr = -9862,
    eventClassIncorrectErr = -9864,
    eventHandlerAlreadyInstalledErr = -9866,
    eventInternalErr = -9868,
    eventKindIncorrectErr = -9869,
    eventParameterNotFoundErr = -9870,
    eventNotHandledErr = -9874,
    eventLoopTimedOutErr = -9875,
    eventLoopQuitErr = -9876,
    eventNotInQueueErr = -9877,
    eventHotKeyExistsErr = -9878,
    eventHotKeyInvalidErr = -9879
};

/* Apple Event Manager: what a parameter of the wrong type gives. */
enum { errAECoercionFail = -1700 };

/* Window Manager */
enum {
    errInvalidWindowRef = -5600,
    errUnsupportedWindowAttributesForClass = -5601,
    errWindowDoesNotHaveProxy = -5602,
    errInvalidWindowProperty = -5603,
    errWindowPropertyNotFound = -5604,
    errUnrecognizedWindowClass = -5605,
    errCorruptWindowDescription = -5606,
    errUserWantsToDragWindow = -5607,
    errWindowsAlreadyInitialized = -5608,
    errFloatingWindowsNotInitialized = -5609,
    errWindowNotFound = -5610,
    errWindowDoesNotFitOnscreen = -5611,
    windowAttributeImmutableErr = -5612,
    windowAttributesConflictErr = -5613,
    windowManagerInternalErr = -5614,
    windowWrongStateErr = -5615,
    windowGroupInvalidErr = -5616,
    windowAppModalStateAlreadyExistsErr = -5617,
    windowNoAppModalStateErr = -5618,
    errWindowDoesntSupportFocus = -30583,
    errWindowRegionCodeInvalid = -30593
};

/* Control Manager */
enum {
    errMessageNotSupported = -30580,
    errDataNotSupported = -30581,
    errControlDoesntSupportFocus = -30582,
    errUnknownControl = -30584,
    errCouldntSetFocus = -30585,
    errNoRootControl = -30586,
    errRootAlreadyExists = -30587,
    errInvalidPartCode = -30588,
    errControlsAlreadyExist = -30589,
    errControlIsNotEmbedder = -30590,
    errDataSizeMismatch = -30591,
    errControlHiddenOrDisabled = -30592,
    errCantEmbedIntoSelf = -30594,
    errCantEmbedRoot = -30595,
    errItemNotControl = -30596,
    controlInvalidDataVersionErr = -30597,
    controlPropertyInvalid = -5603,
    controlPropertyNotFoundErr = -5604,
    controlHandleInvalidErr = -30599
};

CF_EXTERN_C_END

#endif /* HITOOLBOX_HITOOLBOXERRORS_H */
