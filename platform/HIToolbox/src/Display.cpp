// What a display backend needs from the toolbox: the control under the
// pointer, a window's pixels at the display's scale, and the backend module
// itself, loaded only when a window is to be shown.
#include "Drawing.h"
#include "Port.h"
#include <CoreFoundation/CFDiagnostics.h>

#include <HIToolbox/PlatformHost.h>

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <string>

namespace {

bool contains(const Rect& r, Point p) {
    return p.h >= r.left && p.h < r.right && p.v >= r.top && p.v < r.bottom;
}

// The last embedded control drawn at the point wins: it lies on top.
ControlRef deepest_at(ControlRef control, Point where) {
    UInt16 count = 0;
    CountSubControls(control, &count);
    for (UInt16 i = count; i >= 1; --i) {
        ControlRef child = nullptr;
        Rect bounds{};
        if (GetIndexedSubControl(control, i, &child) != noErr || !IsControlVisible(child) ||
            !contains(*GetControlBounds(child, &bounds), where))
            continue;
        return deepest_at(child, where);
    }
    return control;
}

// The module beside the library this function lives in.
std::string module_path() {
    if (const char* path = std::getenv("CARBONRT_DISPLAY_MODULE"); path != nullptr && *path)
        return path;
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&PlatformCreateDisplayEventSource), &info) == 0 ||
        info.dli_fname == nullptr)
        return "libHIToolboxDisplay.so";
    std::string library = info.dli_fname;
    const size_t slash = library.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : library.substr(0, slash);
    return folder + "/carbon-runtime/libHIToolboxDisplay.so";
}

} // namespace

OSStatus PlatformFindControlAt(WindowRef window, Point where, ControlRef* outControl) {
    if (outControl == nullptr)
        return paramErr;
    *outControl = nullptr;
    if (hit::live_window(window, __func__) == nullptr)
        return errInvalidWindowRef;
    ControlRef root = nullptr;
    if (GetRootControl(window, &root) != noErr || root == nullptr)
        return noErr;
    ControlRef found = deepest_at(root, where);
    *outControl = found == root ? nullptr : found;
    return noErr;
}

cairo_surface_t* PlatformCopyWindowSurface(WindowRef window, double scale) {
    OpaqueWindowPtr* w = hit::live_window(window, __func__);
    if (w == nullptr || !(scale >= 1.0 && scale <= 4.0))
        return nullptr;
    hit::port_set_scale(w->port, scale);
    hit::update_window(w);
    cairo_surface_t* surface = hit::port_surface(w->port);
    if (surface == nullptr)
        return nullptr;
    cairo_surface_flush(surface);
    return cairo_surface_reference(surface);
}

OSStatus PlatformCreateDisplayEventSource(PlatformEventSource* outSource) {
    if (outSource == nullptr)
        return paramErr;
    *outSource = PlatformEventSource{};
    static PlatformDisplayModuleEntry entry = nullptr;
    if (entry == nullptr) {
        const std::string path = module_path();
        // Kept loaded for the rest of the process: its toolkit cannot be unloaded.
        void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        if (module == nullptr) {
            cf::report("HIToolbox", "cannot load the display module: %s", dlerror());
            return fnfErr;
        }
        entry = reinterpret_cast<PlatformDisplayModuleEntry>(
            dlsym(module, kPlatformDisplayModuleEntryName));
        if (entry == nullptr) {
            cf::report("HIToolbox", "%s has no %s", path.c_str(), kPlatformDisplayModuleEntryName);
            return fnfErr;
        }
    }
    return entry(outSource);
}
