/*
 * CFPlugIn.h: plug-ins, bundles whose code makes objects through factory
 * functions found by UUID.
 *
 * A bundle is a plug-in when its Info.plist has CFPlugInFactories (factory
 * UUID string -> name of the factory function) and CFPlugInTypes (type UUID
 * string -> array of factory UUID strings), or asks for dynamic
 * registration. Its factories are registered when the bundle is created; the
 * registration keeps the plug-in alive.
 *
 * Code is loaded when the first instance is asked for. While instances exist
 * (CFPlugInAddInstanceForFactory ... CFPlugInRemoveInstanceForFactory) the
 * code stays loaded. When the last one goes, the code is unloaded only if
 * the plug-in is load-on-demand and its Info.plist names a
 * CFPlugInUnloadFunction; that function is called first. Because the last
 * release usually runs inside the plug-in's own code, the unloading happens
 * at the next CFPlugInCreate, CFPlugInInstanceCreate or
 * CFPlugInFindFactoriesForPlugInType call, never during the release.
 */
#ifndef COREFOUNDATION_CFPLUGIN_H
#define COREFOUNDATION_CFPLUGIN_H

#include <CoreFoundation/CFBundle.h>
#include <CoreFoundation/CFUUID.h>

CF_EXTERN_C_BEGIN

CF_EXPORT const CFStringRef kCFPlugInDynamicRegistrationKey;
CF_EXPORT const CFStringRef kCFPlugInDynamicRegisterFunctionKey;
CF_EXPORT const CFStringRef kCFPlugInUnloadFunctionKey;
CF_EXPORT const CFStringRef kCFPlugInFactoriesKey;
CF_EXPORT const CFStringRef kCFPlugInTypesKey;

typedef void (*CFPlugInDynamicRegisterFunction)(CFPlugInRef plugIn);
typedef void (*CFPlugInUnloadFunction)(CFPlugInRef plugIn);
typedef void* (*CFPlugInFactoryFunction)(CFAllocatorRef allocator, CFUUIDRef typeUUID);

CF_EXPORT CFTypeID CFPlugInGetTypeID(void);

/* CFPlugInCreate: the plug-in at a bundle URL (a bundle; the caller releases it), or NULL. */
CF_EXPORT CFPlugInRef CFPlugInCreate(CFAllocatorRef allocator, CFURLRef plugInURL);
CF_EXPORT CFBundleRef CFPlugInGetBundle(CFPlugInRef plugIn);

CF_EXPORT void CFPlugInSetLoadOnDemand(CFPlugInRef plugIn, Boolean flag);
CF_EXPORT Boolean CFPlugInIsLoadOnDemand(CFPlugInRef plugIn);

/* The UUIDs of the enabled factories that make typeUUID, in a new array (empty when none). */
CF_EXPORT CFArrayRef CFPlugInFindFactoriesForPlugInType(CFUUIDRef typeUUID);
CF_EXPORT CFArrayRef CFPlugInFindFactoriesForPlugInTypeInPlugIn(CFUUIDRef typeUUID,
                                                                CFPlugInRef plugIn);

/*
 * CFPlugInInstanceCreate: calls the factory's function with the allocator
 * and typeUUID, loading the plug-in's code and looking the function up by
 * name first if needed, and returns what it returns. NULL when the factory
 * is unknown or does not make that type, or the code or the function can't
 * be found (the reason goes to standard error and PlatformCopyBundleLoadError).
 */
CF_EXPORT void* CFPlugInInstanceCreate(CFAllocatorRef allocator, CFUUIDRef factoryUUID,
                                       CFUUIDRef typeUUID);

/* Registration by code. False when the factory is already (or, for types, not) registered. */
CF_EXPORT Boolean CFPlugInRegisterFactoryFunction(CFUUIDRef factoryUUID,
                                                  CFPlugInFactoryFunction func);
CF_EXPORT Boolean CFPlugInRegisterFactoryFunctionByName(CFUUIDRef factoryUUID, CFPlugInRef plugIn,
                                                        CFStringRef functionName);
CF_EXPORT Boolean CFPlugInUnregisterFactory(CFUUIDRef factoryUUID);
CF_EXPORT Boolean CFPlugInRegisterPlugInType(CFUUIDRef factoryUUID, CFUUIDRef typeUUID);
CF_EXPORT Boolean CFPlugInUnregisterPlugInType(CFUUIDRef factoryUUID, CFUUIDRef typeUUID);

/* Instances tell the plug-in mechanism when they are made and when they go. */
CF_EXPORT void CFPlugInAddInstanceForFactory(CFUUIDRef factoryID);
CF_EXPORT void CFPlugInRemoveInstanceForFactory(CFUUIDRef factoryID);

CF_EXTERN_C_END

#endif /* COREFOUNDATION_CFPLUGIN_H */
