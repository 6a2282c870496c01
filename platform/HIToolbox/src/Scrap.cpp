// The process's one clipboard. A ScrapRef names one generation of the scrap:
// clearing starts the next generation, so a reference kept from before
// fails instead of reading or writing someone else's data. A host joined
// through PlatformSetScrapHost hears of every change and may bring the
// desktop's text in before the scrap is read.
#include "ScrapInternal.h"
#include "TextInternal.h"
#include <CoreFoundation/CFHolder.h>

#include <HIToolbox/PlatformHost.h>
#include <HIToolbox/Scrap.h>

#include <CoreFoundation/CFString.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Flavor {
    ScrapFlavorType type;
    ScrapFlavorFlags flags;
    std::string bytes;
};

struct Scrap {
    uintptr_t generation = 1;
    std::vector<Flavor> flavors;
    PlatformScrapHost host{};
    bool has_host = false;
    bool importing = false;
};

Scrap& scrap() {
    static Scrap* s = new Scrap;
    return *s;
}

ScrapRef ref_of_current() {
    return reinterpret_cast<ScrapRef>(scrap().generation);
}

bool is_current(ScrapRef ref) {
    return ref != nullptr && reinterpret_cast<uintptr_t>(ref) == scrap().generation;
}

Flavor* find(ScrapFlavorType type) {
    for (Flavor& f : scrap().flavors)
        if (f.type == type)
            return &f;
    return nullptr;
}

void clear() {
    Scrap& s = scrap();
    s.flavors.clear();
    ++s.generation;
}

// Text from the desktop replaces the scrap when the host has newer text.
void import_from_host() {
    Scrap& s = scrap();
    if (!s.has_host || s.host.copyDesktopText == nullptr || s.importing)
        return;
    s.importing = true;
    cf::Holder<CFStringRef> text(s.host.copyDesktopText(s.host.info));
    s.importing = false;
    if (!text)
        return;
    clear();
    hit::scrap_put_text(hit::units_of(text.get()), false);
}

void tell_host() {
    Scrap& s = scrap();
    if (s.has_host && s.host.scrapChanged != nullptr && !s.importing)
        s.host.scrapChanged(s.host.info);
}

} // namespace

namespace hit {

void scrap_put_text(const std::u16string& units, bool announce) {
    Scrap& s = scrap();
    const bool was_importing = s.importing;
    s.importing = true; // one announcement for both flavors
    ScrapRef ref = ref_of_current();
    PutScrapFlavor(ref, kScrapFlavorTypeUnicode, kScrapFlavorMaskNone,
                   static_cast<Size>(units.size() * sizeof(char16_t)), units.data());
    Size size = 0;
    get_system_bytes(units, 0, nullptr, &size);
    std::string bytes(static_cast<size_t>(size), '\0');
    get_system_bytes(units, size, bytes.data(), &size);
    PutScrapFlavor(ref, kScrapFlavorTypePlainText, kScrapFlavorMaskNone, size, bytes.data());
    s.importing = was_importing;
    if (announce)
        tell_host();
}

bool scrap_copy_text(std::u16string* out) {
    ScrapRef ref = nullptr;
    GetCurrentScrap(&ref);
    if (const Flavor* f = find(kScrapFlavorTypeUnicode)) {
        out->assign(f->bytes.size() / sizeof(char16_t), u'\0');
        std::memcpy(out->data(), f->bytes.data(), out->size() * sizeof(char16_t));
        return true;
    }
    if (const Flavor* f = find(kScrapFlavorTypePlainText))
        return set_from_system_bytes(static_cast<Size>(f->bytes.size()), f->bytes.data(), *out) ==
               noErr;
    return false;
}

} // namespace hit

OSStatus GetCurrentScrap(ScrapRef* scrap) {
    if (scrap == nullptr)
        return paramErr;
    import_from_host();
    *scrap = ref_of_current();
    return noErr;
}

OSStatus ClearCurrentScrap(void) {
    clear();
    tell_host();
    return noErr;
}

OSStatus PutScrapFlavor(ScrapRef scrap, ScrapFlavorType flavorType, ScrapFlavorFlags flavorFlags,
                        Size flavorSize, const void* flavorData) {
    if (!is_current(scrap))
        return badScrapRefErr;
    if (flavorType == 0)
        return illegalScrapFlavorTypeErr;
    if ((flavorFlags & ~UInt32{kScrapFlavorMaskSenderOnly | kScrapFlavorMaskTranslated}) != 0)
        return illegalScrapFlavorFlagsErr;
    if (flavorSize < 0)
        return illegalScrapFlavorSizeErr;
    if (flavorSize > 0 && flavorData == nullptr)
        return nilScrapFlavorDataErr;
    if (find(flavorType) != nullptr)
        return duplicateScrapFlavorErr;
    Flavor f{flavorType, flavorFlags,
             std::string(static_cast<const char*>(flavorData), static_cast<size_t>(flavorSize))};
    ::scrap().flavors.push_back(std::move(f));
    tell_host();
    return noErr;
}

OSStatus GetScrapFlavorFlags(ScrapRef scrap, ScrapFlavorType flavorType,
                             ScrapFlavorFlags* flavorFlags) {
    if (!is_current(scrap))
        return badScrapRefErr;
    if (flavorFlags == nullptr)
        return paramErr;
    const Flavor* f = find(flavorType);
    if (f == nullptr)
        return noTypeErr;
    *flavorFlags = f->flags;
    return noErr;
}

OSStatus GetScrapFlavorSize(ScrapRef scrap, ScrapFlavorType flavorType, Size* byteCount) {
    if (!is_current(scrap))
        return badScrapRefErr;
    if (byteCount == nullptr)
        return paramErr;
    const Flavor* f = find(flavorType);
    if (f == nullptr)
        return noTypeErr;
    *byteCount = static_cast<Size>(f->bytes.size());
    return noErr;
}

OSStatus GetScrapFlavorData(ScrapRef scrap, ScrapFlavorType flavorType, Size* byteCount,
                            void* destination) {
    if (!is_current(scrap))
        return badScrapRefErr;
    if (byteCount == nullptr || *byteCount < 0 || (*byteCount > 0 && destination == nullptr))
        return paramErr;
    const Flavor* f = find(flavorType);
    if (f == nullptr)
        return noTypeErr;
    const size_t n = std::min(f->bytes.size(), static_cast<size_t>(*byteCount));
    if (n > 0)
        std::memcpy(destination, f->bytes.data(), n);
    *byteCount = static_cast<Size>(n);
    return noErr;
}

OSStatus GetScrapFlavorCount(ScrapRef scrap, UInt32* infoCount) {
    if (!is_current(scrap))
        return badScrapRefErr;
    if (infoCount == nullptr)
        return paramErr;
    *infoCount = static_cast<UInt32>(::scrap().flavors.size());
    return noErr;
}

OSStatus GetScrapFlavorInfoList(ScrapRef scrap, UInt32* infoCount, ScrapFlavorInfo info[]) {
    if (!is_current(scrap))
        return badScrapRefErr;
    if (infoCount == nullptr || (*infoCount > 0 && info == nullptr))
        return paramErr;
    const auto& flavors = ::scrap().flavors;
    const UInt32 n = std::min<UInt32>(*infoCount, static_cast<UInt32>(flavors.size()));
    for (UInt32 i = 0; i < n; ++i)
        info[i] = ScrapFlavorInfo{flavors[i].type, flavors[i].flags};
    *infoCount = n;
    return noErr;
}

void PlatformSetScrapHost(const PlatformScrapHost* host) {
    Scrap& s = scrap();
    s.has_host = host != nullptr;
    s.host = host != nullptr ? *host : PlatformScrapHost{};
}
