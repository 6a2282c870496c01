// Graphics importers: a picture file, the port it is drawn into and the
// rectangle it is scaled to. The file is decoded once, when its pixels or its
// size are first needed, and the decoded picture is kept until the importer
// is closed.
#include "Component.h"
#include "Picture.h"
#include <CoreFoundation/CFDiagnostics.h>

#include <QuickTime/ImageCompression.h>

#include <HIToolbox/MacWindows.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

namespace qt {
namespace {

struct Importer : ComponentState {
    std::string path;
    const Format* format = nullptr; // the decoder to use; nullptr: the content decides
    CGrafPtr port = nullptr;
    bool dest_set = false;
    Rect dest{};
    cairo_surface_t* picture = nullptr;

    ~Importer() override {
        if (picture != nullptr)
            cairo_surface_destroy(picture);
    }
};

Importer* importer_for(GraphicsImportComponent ci, const char* function) {
    return static_cast<Importer*>(instance_state(ci, GraphicsImporterComponentType, function));
}

// The POSIX path of the file an FSSpec names, which must be a file.
OSErr path_for_spec(const FSSpec* spec, std::string& path) {
    FSRef ref;
    if (OSErr err = FSpMakeFSRef(spec, &ref); err != noErr)
        return err;
    FSCatalogInfo info{};
    if (OSErr err = FSGetCatalogInfo(&ref, kFSCatInfoNodeFlags, &info, nullptr, nullptr, nullptr);
        err != noErr)
        return err;
    if (info.nodeFlags & kFSNodeIsDirectoryMask)
        return cantFindHandler; // no importer reads a folder
    UInt8 buffer[PATH_MAX];
    if (OSStatus err = FSRefMakePath(&ref, buffer, sizeof(buffer)); err != noErr)
        return static_cast<OSErr>(err);
    path = reinterpret_cast<const char*>(buffer);
    return noErr;
}

std::string leaf_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Decodes the file unless that was done already.
ComponentResult load(Importer& importer) {
    if (importer.picture != nullptr)
        return noErr;
    std::vector<uint8_t> bytes;
    if (!read_file(importer.path, bytes)) {
        cf::report("GraphicsImport", "%s: %s", importer.path.c_str(), std::strerror(errno));
        return errno == ENOENT ? fnfErr : ioErr;
    }
    Decoded decoded = decode_picture(bytes, importer.format);
    if (decoded.result != DecodeResult::ok) {
        cf::report("GraphicsImport", "%s: %s", importer.path.c_str(), decoded.error.c_str());
        return codecErr;
    }
    importer.picture = decoded.surface;
    importer.format = decoded.format;
    return noErr;
}

Rect natural_bounds(const Importer& importer) {
    return Rect{0, 0, static_cast<short>(cairo_image_surface_get_height(importer.picture)),
                static_cast<short>(cairo_image_surface_get_width(importer.picture))};
}

// The new importer's decoder: by name, or by decoding the content now.
OSErr choose_format(Importer& importer, long flags) {
    if (flags & kDontUseValidateToFindGraphicsImporter) {
        importer.format = format_for_name(leaf_of(importer.path));
        return importer.format != nullptr ? OSErr{noErr} : OSErr{cantFindHandler};
    }
    return load(importer) == noErr ? OSErr{noErr} : OSErr{cantFindHandler};
}

} // namespace
} // namespace qt

OSErr GetGraphicsImporterForFile(const FSSpec* theFile, ComponentInstance* gi) {
    return GetGraphicsImporterForFileWithFlags(theFile, gi, 0);
}

OSErr GetGraphicsImporterForFileWithFlags(const FSSpec* theFile, ComponentInstance* gi,
                                          long flags) {
    if (gi == nullptr)
        return paramErr;
    *gi = nullptr;
    if (theFile == nullptr)
        return paramErr;
    auto importer = std::make_unique<qt::Importer>();
    if (OSErr err = qt::path_for_spec(theFile, importer->path); err != noErr)
        return err;
    if (OSErr err = qt::choose_format(*importer, flags); err != noErr)
        return err;
    GetPort(&importer->port);
    *gi = qt::create_instance(GraphicsImporterComponentType, std::move(importer));
    return *gi != nullptr ? OSErr{noErr} : OSErr{memFullErr};
}

ComponentResult GraphicsImportSetGWorld(GraphicsImportComponent ci, CGrafPtr port, GDHandle) {
    qt::Importer* importer = qt::importer_for(ci, __func__);
    if (importer == nullptr)
        return badComponentInstance;
    if (port == nullptr)
        GetPort(&port);
    else if (GetWindowFromPort(port) == nullptr)
        return paramErr;
    importer->port = port;
    return noErr;
}

ComponentResult GraphicsImportGetGWorld(GraphicsImportComponent ci, CGrafPtr* port, GDHandle* gd) {
    qt::Importer* importer = qt::importer_for(ci, __func__);
    if (importer == nullptr)
        return badComponentInstance;
    if (port != nullptr)
        *port = importer->port;
    if (gd != nullptr)
        *gd = nullptr;
    return noErr;
}

ComponentResult GraphicsImportGetNaturalBounds(GraphicsImportComponent ci, Rect* naturalBounds) {
    qt::Importer* importer = qt::importer_for(ci, __func__);
    if (importer == nullptr)
        return badComponentInstance;
    if (naturalBounds == nullptr)
        return paramErr;
    if (ComponentResult err = qt::load(*importer); err != noErr)
        return err;
    *naturalBounds = qt::natural_bounds(*importer);
    return noErr;
}

ComponentResult GraphicsImportSetDestRect(GraphicsImportComponent ci, const Rect* destRect) {
    qt::Importer* importer = qt::importer_for(ci, __func__);
    if (importer == nullptr)
        return badComponentInstance;
    if (destRect == nullptr)
        return paramErr;
    importer->dest = *destRect;
    importer->dest_set = true;
    return noErr;
}

ComponentResult GraphicsImportGetDestRect(GraphicsImportComponent ci, Rect* destRect) {
    qt::Importer* importer = qt::importer_for(ci, __func__);
    if (importer == nullptr)
        return badComponentInstance;
    if (destRect == nullptr)
        return paramErr;
    if (!importer->dest_set) {
        if (ComponentResult err = qt::load(*importer); err != noErr)
            return err;
    }
    *destRect = importer->dest_set ? importer->dest : qt::natural_bounds(*importer);
    return noErr;
}

ComponentResult GraphicsImportDraw(GraphicsImportComponent ci) {
    qt::Importer* importer = qt::importer_for(ci, __func__);
    if (importer == nullptr)
        return badComponentInstance;
    if (ComponentResult err = qt::load(*importer); err != noErr)
        return err;
    const Rect dest = importer->dest_set ? importer->dest : qt::natural_bounds(*importer);
    if (importer->port == nullptr || !qt::draw_into_port(importer->port, importer->picture, dest))
        return paramErr;
    return noErr;
}
