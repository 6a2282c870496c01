// The current printer's PPD: opened once per process through the current print session, offered
// to the feature plug-in for localisation, and asked for its custom page size limits.
#include "PPDAccess.h"
#include "CurrentPrintSession.h"
#include <CoreFoundation/CFHolder.h>

#include <cstring>
#include <string>

namespace {

// The process's PPD: NULL until opened and after PPDCloseCurrent.
ppd_file_t* ppd = nullptr;

// The one call the feature plug-in offers: it may rewrite the PPD's texts in place.
typedef void* (*InvokeLocalizedPPDProc)(ppd_file_t* ppd);

// Lets the feature bundle (when the process has it) localise a freshly opened PPD, once.
void offer_to_feature_plugin(ppd_file_t* opened) {
    SInt32 version = 0;
    if (Gestalt(gestaltSystemVersion, &version) != noErr || version <= 0x104F)
        return;
    CFBundleRef features =
        CFBundleGetBundleWithIdentifier(CFSTR("com.tovek.print.pde.tovekfeatures.kv3300_2200"));
    if (features == nullptr)
        return;
    cf::Holder<CFURLRef> featuresURL(CFBundleCopyBundleURL(features));
    char path[1024];
    if (!featuresURL || !CFURLGetFileSystemRepresentation(
                            featuresURL.get(), true, reinterpret_cast<UInt8*>(path), sizeof(path)))
        return;
    std::string pluginPath = std::string(path) + "/Contents/Resources/QyxCups.plugin/";
    cf::Holder<CFURLRef> pluginURL(CFURLCreateWithBytes(
        nullptr, reinterpret_cast<const UInt8*>(pluginPath.data()),
        static_cast<CFIndex>(pluginPath.size()), kCFStringEncodingMacRoman, nullptr));
    cf::Holder<CFBundleRef> plugin(pluginURL ? CFBundleCreate(nullptr, pluginURL.get()) : nullptr);
    if (!plugin)
        return;
    auto invoke = reinterpret_cast<InvokeLocalizedPPDProc>(
        CFBundleGetFunctionPointerForName(plugin.get(), CFSTR("InvokeLocalizedPPD")));
    if (invoke != nullptr)
        invoke(opened);
}

// Opens the PPD of the current session's printer; NULL on any failure.
ppd_file_t* open_current_ppd() {
    PMPrinter printer = nullptr;
    PMPrintSession session = GetCurrentPrintSession();
    if (session == nullptr || PMSessionGetCurrentPrinter(session, &printer) != noErr ||
        printer == nullptr)
        return nullptr;
    CFURLRef url = nullptr;
    if (PMPrinterGetDescriptionURL(printer, kPMPPDDescriptionType, &url) != noErr || url == nullptr)
        return nullptr;
    cf::Holder<CFURLRef> description(url);
    char path[1025];
    if (!CFURLGetFileSystemRepresentation(url, true, reinterpret_cast<UInt8*>(path), sizeof(path)))
        return nullptr;
    ppd_file_t* opened = ppdOpenFile(path);
    if (opened != nullptr)
        offer_to_feature_plugin(opened);
    return opened;
}

} // namespace

ppd_file_t* PPDGetCurrent(void) {
    if (ppd == nullptr)
        ppd = open_current_ppd();
    return ppd;
}

void PPDCloseCurrent(void) {
    if (ppd == nullptr)
        return;
    ppdClose(ppd);
    ppd = nullptr;
}

void GetMediaLimits(float* minWidth, float* minHeight, float* maxWidth, float* maxHeight) {
    const ppd_file_t* current = PPDGetCurrent();
    const float limits[4] = {
        current != nullptr ? current->custom_min[0] : 432.0f,
        current != nullptr ? current->custom_min[1] : 432.0f,
        current != nullptr ? current->custom_max[0] : 864.0f,
        current != nullptr ? current->custom_max[1] : 864.0f,
    };
    float* const out[4] = {minWidth, minHeight, maxWidth, maxHeight};
    for (int i = 0; i < 4; ++i) {
        if (out[i] != nullptr)
            *out[i] = limits[i];
    }
}
