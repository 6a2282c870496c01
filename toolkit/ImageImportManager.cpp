// The image import manager: a class-wide index of file names to FSSpecs,
// built by one walk of a folder tree, and class-wide caches of what is
// opened from those files.
#include "ImageImportManager.h"
#include <CoreFoundation/CFDiagnostics.h>

#include "ImageIndex.h"

#include <FileManagerKit.h>

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <initializer_list>
#include <vector>

toolkit::ImageIndex* ImageImportManager::fsSpecs = nullptr;
CFMutableDictionaryRef ImageImportManager::components = nullptr;
CFMutableDictionaryRef ImageImportManager::icons = nullptr;
CFMutableDictionaryRef ImageImportManager::images = nullptr;

namespace {

using CreateImageSourceWithURL = CGImageSourceRef (*)(CFURLRef, CFDictionaryRef);

// The image decoding service is optional: it is looked up by name, in the
// process's global scope and then in the library that brings the graphics
// importers (when this bundle was loaded privately, that is where it is).
CreateImageSourceWithURL resolve_image_source_creator() {
    void* symbol = dlsym(RTLD_DEFAULT, "CGImageSourceCreateWithURL");
    Dl_info info{};
    if (symbol == nullptr &&
        dladdr(reinterpret_cast<void*>(&GetGraphicsImporterForFileWithFlags), &info) != 0) {
        if (void* library = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD)) {
            symbol = dlsym(library, "CGImageSourceCreateWithURL");
            dlclose(library);
        }
    }
    return reinterpret_cast<CreateImageSourceWithURL>(symbol);
}

CreateImageSourceWithURL image_source_creator() {
    static const CreateImageSourceWithURL creator = resolve_image_source_creator();
    return creator;
}

void close_component(const void*, const void* value, void*) {
    CloseComponent(static_cast<ComponentInstance>(const_cast<void*>(value)));
}

void release_icon(const void*, const void* value, void*) {
    if (value != nullptr)
        ReleaseIconRef(static_cast<IconRef>(const_cast<void*>(value)));
}

CFMutableDictionaryRef create_cache(const CFDictionaryValueCallBacks* values) {
    return CFDictionaryCreateMutable(kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks,
                                     values);
}

// The location of an indexed file into `*spec`; false when the name is not indexed.
bool spec_for(const toolkit::ImageIndex* specs, CFStringRef name, FSSpec* spec) {
    return specs->find(name, spec);
}

// The walk's per-item callback for the manager's own index (`userData`): files only.
Boolean index_item(Boolean, ItemCount, const FSCatalogInfo* catalogInfo, const FSRef*,
                   const FSSpec* spec, const HFSUniStr255* name, void* userData) {
    if (catalogInfo != nullptr && spec != nullptr && name != nullptr &&
        (catalogInfo->nodeFlags & kFSNodeIsDirectoryMask) == 0)
        static_cast<toolkit::ImageIndex*>(userData)->add(name->unicode, name->length, *spec);
    return false;
}

} // namespace

ImageImportManager::ImageImportManager(FSRef folder) {
    retireCaches();
    fsSpecs = new toolkit::ImageIndex;
    components = create_cache(nullptr);
    icons = create_cache(nullptr);
    images = create_cache(&kCFTypeDictionaryValueCallBacks);
    // What the walk indexed before an error stays usable; the status adds nothing.
    (void)FSIterateContainer(&folder, 0, kFSCatInfoNodeFlags, true, true, index_item, fsSpecs);
    fsSpecs->finish();
}

ImageImportManager::~ImageImportManager() {
    releaseCaches();
}

namespace {

struct CacheSet {
    toolkit::ImageIndex* specs;
    CFMutableDictionaryRef components, icons, images;
};

// Caches that a later manager replaced. What they hold was handed out by an earlier manager
// and may still be in use, so it stays open until a manager is destroyed.
std::vector<CacheSet>& retired_caches() {
    static auto* sets = new std::vector<CacheSet>;
    return *sets;
}

void release_set(const CacheSet& set) {
    if (set.components != nullptr)
        CFDictionaryApplyFunction(set.components, close_component, nullptr);
    if (set.icons != nullptr)
        CFDictionaryApplyFunction(set.icons, release_icon, nullptr);
    delete set.specs;
    for (CFMutableDictionaryRef cache : {set.components, set.icons, set.images})
        if (cache != nullptr)
            CFRelease(cache);
}

} // namespace

void ImageImportManager::retireCaches() {
    if (fsSpecs != nullptr || components != nullptr || icons != nullptr || images != nullptr)
        retired_caches().push_back({fsSpecs, components, icons, images});
    fsSpecs = nullptr;
    components = icons = images = nullptr;
}

void ImageImportManager::releaseCaches() {
    retireCaches();
    std::vector<CacheSet> sets;
    sets.swap(retired_caches());
    for (const CacheSet& set : sets)
        release_set(set);
}

Boolean ImageImportManager::ImageImportManagerFilterProc(Boolean, ItemCount,
                                                         const FSCatalogInfo* catalogInfo,
                                                         const FSRef*, const FSSpec* spec,
                                                         const HFSUniStr255* name, void* userData) {
    if (catalogInfo == nullptr || spec == nullptr || name == nullptr || userData == nullptr ||
        (catalogInfo->nodeFlags & kFSNodeIsDirectoryMask) != 0)
        return false;
    auto* specs = static_cast<CFMutableDictionaryRef>(userData);
    CFStringRef key =
        CFStringCreateWithCharacters(kCFAllocatorDefault, name->unicode, name->length);
    if (key == nullptr)
        return false;
    auto* copy = new FSSpec(*spec);
    // Names are nearly always new: one hashing of the name adds it. When the
    // count does not grow, the name was there, and the later file wins.
    const CFIndex before = CFDictionaryGetCount(specs);
    CFDictionaryAddValue(specs, key, copy);
    if (CFDictionaryGetCount(specs) == before) {
        delete static_cast<const FSSpec*>(CFDictionaryGetValue(specs, key));
        CFDictionarySetValue(specs, key, copy);
    }
    CFRelease(key);
    return false;
}

GraphicsImportComponent ImageImportManager::componentForFilename(CFStringRef name) {
    if (name == nullptr || components == nullptr || fsSpecs == nullptr)
        return nullptr;
    const void* cached = nullptr;
    if (CFDictionaryGetValueIfPresent(components, name, &cached))
        return static_cast<GraphicsImportComponent>(const_cast<void*>(cached));
    FSSpec spec;
    if (!spec_for(fsSpecs, name, &spec))
        return nullptr;
    GraphicsImportComponent importer = nullptr;
    if (GetGraphicsImporterForFileWithFlags(&spec, &importer,
                                            kDontUseValidateToFindGraphicsImporter) != noErr)
        return nullptr;
    CFDictionarySetValue(components, name, importer);
    return importer;
}

IconRef ImageImportManager::iconForFilename(CFStringRef name) {
    if (name == nullptr || icons == nullptr || fsSpecs == nullptr)
        return nullptr;
    const void* cached = nullptr;
    if (CFDictionaryGetValueIfPresent(icons, name, &cached))
        return static_cast<IconRef>(const_cast<void*>(cached));
    FSSpec spec;
    if (!spec_for(fsSpecs, name, &spec))
        return nullptr;
    IconRef icon = nullptr;
    auto family = reinterpret_cast<IconFamilyHandle>(NewHandle(0));
    if (family != nullptr) {
        if (ReadIconFile(&spec, &family) == noErr) {
            HLock(reinterpret_cast<Handle>(family));
            GetIconRefFromIconFamilyPtr(*family, GetHandleSize(reinterpret_cast<Handle>(family)),
                                        &icon);
            HUnlock(reinterpret_cast<Handle>(family));
        }
        DisposeHandle(reinterpret_cast<Handle>(family));
    }
    // A file that is no icon stays no icon: the failure is remembered too.
    CFDictionarySetValue(icons, name, icon);
    return icon;
}

CGImageRef ImageImportManager::imageForFilename(CFStringRef name) {
    if (name == nullptr || images == nullptr || fsSpecs == nullptr)
        return nullptr;
    if (const void* cached = CFDictionaryGetValue(images, name))
        return static_cast<CGImageRef>(const_cast<void*>(cached));
    FSSpec spec;
    const bool indexed = spec_for(fsSpecs, name, &spec);
    CreateImageSourceWithURL create_source = image_source_creator();
    FSRef ref;
    if (!indexed || create_source == nullptr || FSpMakeFSRef(&spec, &ref) != noErr)
        return nullptr;
    CFURLRef url = CFURLCreateFromFSRef(kCFAllocatorDefault, &ref);
    if (url == nullptr)
        return nullptr;
    CGImageRef image = nullptr;
    if (CGImageSourceRef source = create_source(url, nullptr)) {
        if (CGImageSourceGetStatus(source) == kCGImageStatusComplete)
            image = CGImageSourceCreateImageAtIndex(source, 0, nullptr);
        CFRelease(source);
    }
    CFRelease(url);
    if (image == nullptr)
        return nullptr;
    CFDictionarySetValue(images, name, image);
    CGImageRelease(image); // the cache holds it now
    return image;
}

namespace {

// Paints the control's bounds with its window's background.
void erase_control_area(WindowRef window, const Rect& bounds) {
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(GetWindowPort(window));
    EraseRect(&bounds);
    SetPort(saved);
}

// The control's bounds with each edge moved toward the middle by half the
// difference of the sizes (truncated toward zero), so the natural size sits
// centred; an odd difference leaves the rectangle one pixel larger.
Rect centred_rect(const Rect& bounds, const Rect& natural) {
    const int W = bounds.right - bounds.left;
    const int H = bounds.bottom - bounds.top;
    const int w = natural.right;
    const int h = natural.bottom;
    Rect dest = bounds;
    dest.left = static_cast<short>(bounds.left + (W - w) / 2);
    dest.right = static_cast<short>(bounds.right + (w - W) / 2);
    dest.top = static_cast<short>(bounds.top + (H - h) / 2);
    dest.bottom = static_cast<short>(bounds.bottom + (h - H) / 2);
    return dest;
}

} // namespace

OSStatus DrawImage(CFStringRef name, ControlRef control, Boolean noErase) {
    if (control == nullptr)
        return noErr;
    Rect bounds;
    GetControlBounds(control, &bounds);
    WindowRef window = GetControlOwner(control);
    if (!noErase && window != nullptr)
        erase_control_area(window, bounds);
    GraphicsImportComponent importer =
        name != nullptr ? ImageImportManager::componentForFilename(name) : nullptr;
    if (importer == nullptr || window == nullptr)
        return noErr;
    if (GraphicsImportSetGWorld(importer, GetWindowPort(window), nullptr) != noErr)
        return noErr;
    Rect natural;
    if (GraphicsImportGetNaturalBounds(importer, &natural) != noErr)
        return noErr;
    const Rect dest = centred_rect(bounds, natural);
    if (GraphicsImportSetDestRect(importer, &dest) != noErr)
        return noErr;
    GraphicsImportDraw(importer);
    return noErr;
}

OSStatus InitializeIcon(ControlRef control) {
    if (control == nullptr)
        return paramErr;
    // One entry point for every image pane of the process.
    static const EventHandlerUPP handler = NewEventHandlerUPP(DrawIconEventHandler);
    static const EventTypeSpec kDrawEvent[] = {{kEventClassControl, kEventControlDraw}};
    OSStatus status = InstallEventHandler(GetControlEventTarget(control), handler, 1, kDrawEvent,
                                          nullptr, nullptr);
    if (status != noErr)
        cf::report("InitializeIcon", "the draw handler was not installed (%d)",
                   static_cast<int>(status));
    return noErr;
}

namespace {

// The picture name an image pane carries, or nullptr (the caller releases it).
CFStringRef copy_pane_name(ControlRef control) {
    ByteCount size = 0;
    if (GetControlPropertySize(control, kImagePanePropertyCreator, kImagePanePropertyTag, &size) !=
        noErr)
        return nullptr;
    auto* units = static_cast<UniChar*>(std::malloc(size > 0 ? size : 1));
    if (units == nullptr)
        return nullptr;
    if (GetControlProperty(control, kImagePanePropertyCreator, kImagePanePropertyTag, size, nullptr,
                           units) != noErr) {
        std::free(units);
        return nullptr;
    }
    CFStringRef name = CFStringCreateWithCharactersNoCopy(kCFAllocatorDefault, units, size / 2,
                                                          kCFAllocatorMalloc);
    if (name == nullptr)
        std::free(units);
    return name;
}

} // namespace

OSStatus DrawIconEventHandler(EventHandlerCallRef, EventRef event, void*) {
    if (GetEventClass(event) != kEventClassControl || GetEventKind(event) != kEventControlDraw)
        return eventNotHandledErr;
    ControlRef control = nullptr;
    if (GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof(control),
                          nullptr, &control) != noErr ||
        control == nullptr)
        return noErr;
    if (CFStringRef name = copy_pane_name(control)) {
        DrawImage(name, control, false);
        CFRelease(name);
    }
    return noErr;
}
