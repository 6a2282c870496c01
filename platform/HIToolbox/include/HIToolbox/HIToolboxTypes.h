/*
 * HIToolboxTypes.h: the opaque references and small scalar types that the
 * managers of HIToolbox pass to one another, declared once so that each
 * manager's header can be included on its own.
 */
#ifndef HITOOLBOX_HITOOLBOXTYPES_H
#define HITOOLBOX_HITOOLBOXTYPES_H

#include <CoreFoundation/CFBase.h>

CF_EXTERN_C_BEGIN

typedef void* SRefCon;
typedef unsigned long URefCon;

typedef struct OpaqueWindowPtr* WindowRef;
typedef WindowRef WindowPtr;

typedef struct OpaqueControlRef* ControlRef;
typedef ControlRef ControlHandle;
typedef ControlRef HIViewRef;
typedef SInt16 ControlPartCode;

typedef struct OpaqueMenuRef* MenuRef;
typedef MenuRef MenuHandle;
typedef SInt16 MenuID;
typedef UInt16 MenuItemIndex;
typedef UInt32 MenuCommand;
typedef UInt32 MenuAttributes;

typedef struct OpaqueEventRef* EventRef;
typedef struct OpaqueEventTargetRef* EventTargetRef;
typedef struct OpaqueEventHandlerRef* EventHandlerRef;
typedef struct OpaqueEventHandlerCallRef* EventHandlerCallRef;

CF_EXTERN_C_END

#endif /* HITOOLBOX_HITOOLBOXTYPES_H */
