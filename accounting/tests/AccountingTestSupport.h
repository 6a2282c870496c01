// The built Accounting.plugin for the tests of the panel and of the plug-in shell: its nib and
// strings, its factory and fresh PDE interfaces. Loaded once per process.
#ifndef ACCOUNTING_TESTS_ACCOUNTINGTESTSUPPORT_H
#define ACCOUNTING_TESTS_ACCOUNTINGTESTSUPPORT_H

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
