/*
 * MacErrors.h: the status codes that the File, Folder, Gestalt, resource and
 * Carbon Event code of the runtime returns. The most common ones (noErr,
 * paramErr, memFullErr, unimpErr) are in <MacTypes.h>.
 */
#ifndef CORESERVICES_MACERRORS_H
#define CORESERVICES_MACERRORS_H

#include <CoreFoundation/CFBase.h>

CF_EXTERN_C_BEGIN

enum {
    /* General. */
    userCanceledErr = -128,

    /* File Manager, classic. */
    dskFulErr = -34,
    nsvErr = -35,
    ioErr = -36,
    bdNamErr = -37,
    fnOpnErr = -38,
    eofErr = -39,
    posErr = -40,
    tmfoErr = -42,
    fnfErr = -43,
    wPrErr = -44,
    fLckdErr = -45,
    vLckdErr = -46,
    fBsyErr = -47,
    dupFNErr = -48,
    opWrErr = -49,
    rfNumErr = -51,
    permErr = -54,
    extFSErr = -58,
    wrPermErr = -61,
    dirNFErr = -120,
    notAFileErr = -1302,
    diffVolErr = -1303,

    /* File Manager, HFS Plus interfaces. */
    errFSUnknownCall = -1400,
    errFSBadFSRef = -1401,
    errFSBadForkName = -1402,
    errFSBadBuffer = -1403,
    errFSBadForkRef = -1404,
    errFSBadInfoBitmap = -1405,
    errFSMissingCatInfo = -1406,
    errFSNotAFolder = -1407,
    errFSForkNotFound = -1409,
    errFSNameTooLong = -1410,
    errFSMissingName = -1411,
    errFSBadPosMode = -1412,
    errFSBadAllocFlags = -1413,
    errFSNoMoreItems = -1417,
    errFSBadItemCount = -1418,
    errFSBadSearchParams = -1419,
    errFSRefsDifferent = -1420,
    errFSForkExists = -1421,
    errFSBadIteratorFlags = -1422,
    errFSIteratorNotFound = -1423,
    errFSIteratorNotSupported = -1424,
    errFSQuotaExceeded = -1425,
    pathTooLongErr = -2110,

    /* Access rights (AFP). */
    afpAccessDenied = -5000,
    afpObjectTypeErr = -5025,

    /* Resource Manager. */
    resNotFound = -192,
    resFNotFound = -193,
    addResFailed = -194,
    rmvResFailed = -196,
    resAttrErr = -198,
    mapReadErr = -199,

    /* Gestalt. */
    gestaltUnknownErr = -5550,
    gestaltUndefSelectorErr = -5551,
    gestaltDupSelectorErr = -5552,
    gestaltLocationErr = -5553,

    /* Carbon Event Manager. */
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
    eventPassToNextTargetErr = -9880
};

CF_EXTERN_C_END

#endif /* CORESERVICES_MACERRORS_H */
