// Loads the built Accounting.plugin for the tests, once per process.
#ifndef PLUGIN_TESTS_SUPPORT_H
#define PLUGIN_TESTS_SUPPORT_H

#include <Carbon/Carbon.h>

#include <string>

namespace testsupport {

// The bundle in the build tree, created and loaded once.
CFBundleRef accounting_bundle();

using Factory = void* (*)(CFAllocatorRef, CFUUIDRef);
Factory accounting_factory();

CFUUIDRef uuid(CFStringRef text); // caller releases

// A fresh PDE interface from a fresh instance; the instance is released again.
PlugInIntf* make_pde();
void release_pde(PlugInIntf* pde);

} // namespace testsupport

#endif
