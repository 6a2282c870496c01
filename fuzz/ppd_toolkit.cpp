// PPD files as the toolkit reads them: the installable options and the features named over them.
#include "FuzzSupport.h"

#include "InstallableOptions.h"

namespace {

const InstalledFeatureMap kFeatures[] = {
    {CFSTR("Finisher"), CFSTR("TKFinisher"), CFSTR("Staple"), CFSTR("Staple Finisher"), 10},
    {CFSTR("Finisher"), CFSTR("TKFinisher"), CFSTR("SaddleStitch"), nullptr, 20},
    {CFSTR("Tray3"), CFSTR("TKTray3"), CFSTR("True"), CFSTR("Tray 3"), 3},
    {CFSTR("HardDisk"), nullptr, nullptr, nullptr, 2},
    {nullptr, nullptr, nullptr, nullptr, 0},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::ScratchFile file("toolkit.ppd");
    ppd_file_t* ppd = ppdOpenFile(file.write(data, size));
    if (ppd == nullptr)
        return 0;
    if (LoadInstallableOptions(ppd, kFeatures)) {
        for (ppd_group_t* group = ppd->groups; group < ppd->groups + ppd->num_groups; ++group)
            for (int i = 0; i < group->num_options; ++i) {
                cf::Holder<CFStringRef> keyword(CFStringCreateWithCString(
                    nullptr, group->options[i].keyword, kCFStringEncodingUTF8));
                CFStringRef choice = nullptr;
                if (keyword)
                    getInstallableOptionValue(keyword.get(), &choice);
            }
    }
    for (const InstalledFeatureMap* row = kFeatures; row->featureName != nullptr; ++row) {
        SInt32 value = 0;
        getInstalledFeature(row->featureName);
        getInstallableOptionTicketValue(row->featureName, &value);
    }
    UnloadInstallableOptions();
    ppdClose(ppd);
    return 0;
}
