/*
 * PluginFactory.h: the bundle's entry for the print dialog. The factory makes a plug-in
 * instance, an IUnknown object that hands out the panel's interface objects.
 */
#ifndef PLUGIN_PLUGINFACTORY_H
#define PLUGIN_PLUGINFACTORY_H

#include <Carbon/Carbon.h>

CF_EXTERN_C_BEGIN

/* The instance: its first word points at the IUnknown table it carries inline behind it. */
typedef struct PluginInstance {
    IUnknownVTbl* interface;
    IUnknownVTbl table;
    CFUUIDRef factoryID; /* owned */
    UInt32 refCount;
} PluginInstance;

/* Makes an instance for the printer-module PDE type, registered with the plug-in mechanism
   while it lives; NULL for any other type or when memory runs out. The allocator is not used. */
CF_EXPORT void* AccountingPluginFactory(CFAllocatorRef allocator, CFUUIDRef typeID);

CF_EXTERN_C_END

#endif /* PLUGIN_PLUGINFACTORY_H */
