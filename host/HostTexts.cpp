// The host's texts in English, German, French and Japanese.
#include "HostTexts.h"

#include "CFText.h"

#include <CoreFoundation/CoreFoundation.h>

#include <string>

namespace host {
namespace {

constexpr HostTexts kTexts[] = {
    {"en", "Print", "Cancel", "(untitled)"},
    {"de", "Drucken", "Abbrechen", "(ohne Titel)"},
    {"fr", "Imprimer", "Annuler", "(sans titre)"},
    {"ja", "\u30D7\u30EA\u30F3\u30C8", "\u30AD\u30E3\u30F3\u30BB\u30EB",
     "(\u540D\u79F0\u672A\u8A2D\u5B9A)"},
};

const HostTexts& choose() {
    CFStringRef names[std::size(kTexts)];
    for (size_t i = 0; i < std::size(kTexts); ++i)
        names[i] = CFStringCreateWithCString(nullptr, kTexts[i].language, kCFStringEncodingUTF8);
    cf::Holder<CFArrayRef> offered(CFArrayCreate(nullptr, reinterpret_cast<const void**>(names),
                                                 std::size(kTexts), &kCFTypeArrayCallBacks));
    for (CFStringRef name : names)
        CFRelease(name);
    cf::Holder<CFArrayRef> preferred(CFBundleCopyPreferredLocalizationsFromArray(offered.get()));
    if (preferred.get() == nullptr || CFArrayGetCount(preferred.get()) == 0)
        return kTexts[0];
    const std::string first =
        to_utf8(static_cast<CFStringRef>(CFArrayGetValueAtIndex(preferred.get(), 0)));
    for (const HostTexts& texts : kTexts)
        if (first == texts.language)
            return texts;
    return kTexts[0];
}

} // namespace

const HostTexts& host_texts() {
    static const HostTexts& texts = choose();
    return texts;
}

} // namespace host
