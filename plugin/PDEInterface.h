/*
 * PDEInterface.h: the panel's interface object: a table of the ten operations in the print
 * dialog's fixed slot order, and a reference count.
 */
#ifndef PLUGIN_PDEINTERFACE_H
#define PLUGIN_PDEINTERFACE_H

#include <Carbon/Carbon.h>

CF_EXTERN_C_BEGIN

typedef PlugInIntfVTable PDEInterfaceTable;

typedef struct PDEInterface {
    PDEInterfaceTable* table; /* a table of its own, freed with the object */
    UInt32 refCount;
} PDEInterface;

/* A new interface object with count 1 and a fresh table, or NULL when memory runs out (a
   half-built object is freed, never returned). */
PDEInterface* CreatePDEInterface(void);

CF_EXTERN_C_END

#endif /* PLUGIN_PDEINTERFACE_H */
