// Finding PDE bundles and loading them through the plug-in mechanism.
#ifndef HOST_PDELOADER_H
#define HOST_PDELOADER_H

#include <Carbon/Carbon.h>

#include <string>
#include <vector>

namespace host {

// One loaded PDE: its bundle and the interface object the host drives it through.
struct LoadedPDE {
    std::string path;                  // the bundle folder
    CFBundleRef bundle = nullptr;      // retained
    CFPlugInRef plugIn = nullptr;      // retained (the same object as the bundle here)
    IUnknownVTbl** instance = nullptr; // the factory's instance, one reference held
    PlugInIntf* pde = nullptr;         // the PDE interface, one reference held
    PMPlugInAPIVersion version{};
    bool application = false; // registered under the application print-dialog type
};

// A bundle that could not be used, and why.
struct PDEFailure {
    std::string path;
    std::string reason;
};

struct LoadResult {
    std::vector<LoadedPDE> pdes;
    std::vector<PDEFailure> failures; // PDEs that could not be used
    std::vector<PDEFailure> ignored;  // bundles that offer no PDE type this host shows
};

// Looks in each folder for bundles registering a factory for a PDE type the print dialog
// shows (the printer-module type, then the application print-dialog type), loads them and
// asks for the PDE interface. A bundle that fails is reported and skipped; one that offers
// no such type is kept in `ignored` with the reason; a bundle reached through two folders
// (or links) loads once, from the first.
LoadResult load_pdes(const std::vector<std::string>& folders);

// Releases the interface and the instance, and the bundle with them.
void unload_pde(LoadedPDE& pde);

} // namespace host

#endif
