// Installable options: the PPD's record of optional hardware, kept for the life of a printer
// selection, and the named features that popup rows are gated on.
#include "InstallableOptions.h"
#include <CoreFoundation/CFHolder.h>

#include <cstring>

namespace {

// The feature table in force and the options read from the PPD: keyword -> installed choice.
// Both are set by a load and cleared by an unload; nothing else changes them.
const InstalledFeatureMap* featureMap = nullptr;
CFMutableDictionaryRef installableOptionsDict = nullptr;

const ppd_group_t* find_installable_group(const ppd_file_t* ppd) {
    if (ppd == nullptr)
        return nullptr;
    for (int i = 0; i < ppd->num_groups; ++i) {
        if (std::strcmp(ppd->groups[i].name, "InstallableOptions") == 0)
            return &ppd->groups[i];
    }
    return nullptr;
}

const ppd_choice_t* first_marked_choice(const ppd_option_t& option) {
    for (int i = 0; i < option.num_choices; ++i) {
        if (option.choices[i].marked)
            return &option.choices[i];
    }
    return nullptr;
}

// Stores option -> marked choice; false when the option has no marked choice or a keyword is
// not UTF-8.
bool record_option(const ppd_option_t& option) {
    const ppd_choice_t* choice = first_marked_choice(option);
    if (choice == nullptr)
        return false;
    const cf::Holder<CFStringRef> key(
        CFStringCreateWithCString(nullptr, option.keyword, kCFStringEncodingUTF8));
    const cf::Holder<CFStringRef> value(
        CFStringCreateWithCString(nullptr, choice->choice, kCFStringEncodingUTF8));
    if (!key || !value)
        return false;
    CFDictionarySetValue(installableOptionsDict, key.get(), value.get());
    return true;
}

bool condition_holds(const InstalledFeatureMap& row) {
    if (row.optionKeyword == nullptr)
        return true;
    if (installableOptionsDict == nullptr || row.choice == nullptr)
        return false;
    const void* recorded = CFDictionaryGetValue(installableOptionsDict, row.optionKeyword);
    return recorded != nullptr && CFEqual(recorded, row.choice);
}

// The first row named featureName whose condition holds, or NULL.
const InstalledFeatureMap* answering_row(CFStringRef featureName) {
    if (featureName == nullptr || featureMap == nullptr)
        return nullptr;
    for (const InstalledFeatureMap* row = featureMap; row->featureName != nullptr; ++row) {
        if (CFEqual(row->featureName, featureName) && condition_holds(*row))
            return row;
    }
    return nullptr;
}

} // namespace

Boolean LoadInstallableOptions(ppd_file_t* ppd, const InstalledFeatureMap* table) {
    if (installableOptionsDict != nullptr || featureMap != nullptr)
        return false;
    featureMap = table;
    // What is installed is what the PPD's defaults say: make those the marked choices.
    if (ppd != nullptr)
        ppdMarkDefaults(ppd);
    installableOptionsDict = CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks,
                                                       &kCFTypeDictionaryValueCallBacks);
    const ppd_group_t* group = find_installable_group(ppd);
    if (group == nullptr)
        return false;
    bool recorded = false;
    for (int i = 0; i < group->num_options; ++i)
        recorded = record_option(group->options[i]) || recorded;
    return recorded;
}

void UnloadInstallableOptions(void) {
    if (installableOptionsDict == nullptr)
        return;
    CFRelease(installableOptionsDict);
    installableOptionsDict = nullptr;
    featureMap = nullptr;
}

Boolean getInstallableOptionValue(CFStringRef optionKeyword, CFStringRef* outChoice) {
    if (installableOptionsDict == nullptr || optionKeyword == nullptr || outChoice == nullptr)
        return false;
    const void* recorded = CFDictionaryGetValue(installableOptionsDict, optionKeyword);
    if (recorded == nullptr)
        return false;
    *outChoice = static_cast<CFStringRef>(recorded);
    return true;
}

Boolean getInstalledFeature(CFStringRef featureName) {
    return answering_row(featureName) != nullptr;
}

CFStringRef CopyLocalizedStringForInstalledFeatureFromPlugin(CFStringRef featureName,
                                                             CFBundleRef bundle) {
    if (featureName == nullptr || featureMap == nullptr)
        return nullptr;
    for (const InstalledFeatureMap* row = featureMap; row->featureName != nullptr; ++row) {
        if (!CFEqual(row->featureName, featureName))
            continue;
        // An unconditional row is the feature's last word, with or without a text.
        bool unconditional = row->optionKeyword == nullptr;
        if (unconditional || (condition_holds(*row) && row->localizedKey != nullptr)) {
            if (row->localizedKey == nullptr)
                return nullptr;
            return CFBundleCopyLocalizedString(bundle, row->localizedKey, CFSTR("STRING NOT FOUND"),
                                               nullptr);
        }
    }
    return nullptr;
}

Boolean getInstallableOptionTicketValue(CFStringRef featureName, SInt32* outValue) {
    if (outValue == nullptr)
        return false;
    const InstalledFeatureMap* row = answering_row(featureName);
    if (row == nullptr)
        return false;
    *outValue = row->ticketValue;
    return true;
}
