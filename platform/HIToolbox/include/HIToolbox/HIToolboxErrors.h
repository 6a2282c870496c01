/*
 * HIToolboxErrors.h: the status codes of the Window and Control Managers, and
 * the Apple Event coercion failure that GetEventParameter gives (Apple's names
 * and values). The Carbon Event Manager's own codes are in
 * <CoreServices/MacErrors.h>, included here; nothing else defines these.
 */
#ifndef HITOOLBOX_HITOOLBOXERRORS_H
#define HITOOLBOX_HITOOLBOXERRORS_H

#include <CoreServices/MacErrors.h>

CF_EXTERN_C_BEGIN

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
