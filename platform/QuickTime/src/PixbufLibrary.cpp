// Loading the picture decoder library on first use.
#include "PixbufLibrary.h"

#include <dlfcn.h>

#include <string>

namespace qt {
namespace {

// The run-time name of the library that the build compiled against.
constexpr const char* kLibraryName = "libgdk_pixbuf-2.0.so.0";

struct Loaded {
    PixbufLibrary library{};
    bool ok = false;
    std::string why;
};

template <typename Function> bool bind(void* handle, const char* name, Function& slot) {
    slot = reinterpret_cast<Function>(dlsym(handle, name));
    return slot != nullptr;
}

bool bind_all(void* handle, PixbufLibrary& l) {
    return bind(handle, "gdk_pixbuf_error_quark", l.error_quark) &&
           bind(handle, "gdk_pixbuf_loader_new", l.loader_new) &&
           bind(handle, "gdk_pixbuf_loader_new_with_type", l.loader_new_with_type) &&
           bind(handle, "gdk_pixbuf_loader_write", l.loader_write) &&
           bind(handle, "gdk_pixbuf_loader_close", l.loader_close) &&
           bind(handle, "gdk_pixbuf_loader_get_pixbuf", l.loader_get_pixbuf) &&
           bind(handle, "gdk_pixbuf_loader_get_format", l.loader_get_format) &&
           bind(handle, "gdk_pixbuf_format_get_name", l.format_get_name) &&
           bind(handle, "gdk_pixbuf_get_width", l.get_width) &&
           bind(handle, "gdk_pixbuf_get_height", l.get_height) &&
           bind(handle, "gdk_pixbuf_get_n_channels", l.get_n_channels) &&
           bind(handle, "gdk_pixbuf_get_rowstride", l.get_rowstride) &&
           bind(handle, "gdk_pixbuf_get_has_alpha", l.get_has_alpha) &&
           bind(handle, "gdk_pixbuf_read_pixels", l.read_pixels);
}

void load(Loaded& loaded) {
    // Kept for the life of the process: the decoder registers types with the object system.
    void* handle = dlopen(kLibraryName, RTLD_LAZY | RTLD_LOCAL | RTLD_NODELETE);
    if (handle == nullptr) {
        const char* reason = dlerror();
        loaded.why = reason != nullptr ? reason : kLibraryName;
        return;
    }
    loaded.ok = bind_all(handle, loaded.library);
    if (!loaded.ok)
        loaded.why = std::string(kLibraryName) + " lacks a routine pictures need";
}

} // namespace

const PixbufLibrary* pixbuf_library(const char** why) {
    static Loaded loaded = [] {
        Loaded first;
        load(first);
        return first;
    }();
    if (!loaded.ok && why != nullptr)
        *why = loaded.why.c_str();
    return loaded.ok ? &loaded.library : nullptr;
}

} // namespace qt
