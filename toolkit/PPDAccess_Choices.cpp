// An option's choices from the PPD, in the PPD's own encoding: display texts, defaults, menus of
// the choices the toolkit's tables know, and the chosen choices in a ticket's PPD dictionary.
#include "PPDAccess.h"
#include "SettingMaps.h"
#include "SettingMapsInternal.h"
#include <CoreFoundation/CFHolder.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

struct EncodingName {
    const char* name;
    CFStringEncoding encoding;
};

const EncodingName kEncodings[] = {
    {"ISOLatin1", kCFStringEncodingISOLatin1}, {"ISOLatin2", kCFStringEncodingISOLatin2},
    {"ISOLatin5", kCFStringEncodingISOLatin5}, {"JIS83-RKSJ", kCFStringEncodingShiftJIS},
    {"UTF-8", kCFStringEncodingUTF8},          {"UTF8", kCFStringEncodingUTF8},
};

// The string as NUL-terminated bytes in the PPD's encoding; empty when it cannot be converted.
std::vector<char> bytes_of(CFStringRef string, CFStringEncoding encoding) {
    CFIndex size = CFStringGetMaximumSizeForEncoding(CFStringGetLength(string), encoding) + 1;
    std::vector<char> bytes(static_cast<size_t>(size));
    if (!CFStringGetCString(string, bytes.data(), size, encoding))
        bytes.clear();
    return bytes;
}

CFStringRef create_string(const char* text, CFStringEncoding encoding) {
    return text != nullptr ? CFStringCreateWithCString(nullptr, text, encoding) : nullptr;
}

ppd_option_t* find_option(ppd_file_t* ppd, CFStringRef keyword, CFStringEncoding encoding) {
    std::vector<char> name = bytes_of(keyword, encoding);
    return name.empty() ? nullptr : ppdFindOption(ppd, name.data());
}

CFMutableDictionaryRef ppd_dict_of(PMTicketRef ticket) {
    CFMutableDictionaryRef dict = nullptr;
    if (PMTicketGetPPDDict(ticket, 0, 0, &dict) != noErr)
        return nullptr;
    return dict;
}

// Appends one choice when the tables know it; says so on standard error when they do not.
void append_choice(MenuRef menu, CFStringRef keyword, const ppd_choice_t& choice,
                   CFStringEncoding encoding, MenuCommand commandID) {
    cf::Holder<CFStringRef> choiceKeyword(create_string(choice.choice, encoding));
    if (!choiceKeyword)
        return;
    SInt32 value = PPDTicketValueForChoice(keyword, choiceKeyword.get());
    if (value == -1) {
        // This and the message below are the driver's own words, which its authors look for:
        // kept as they were rather than in the "<who>: <message>" form of cf::report.
        std::fputs("Skipped unrecognized choice in PPD: ", stderr);
        CFShow(choiceKeyword.get());
        return;
    }
    cf::Holder<CFStringRef> title(create_string(choice.text, encoding));
    MenuItemIndex item = 0;
    if (title && AppendMenuItemTextWithCFString(menu, title.get(), 0, commandID, &item) == noErr)
        SetMenuItemRefCon(menu, item, toolkit::refcon_for(value));
}

} // namespace

CFStringEncoding PPDGetEncoding(ppd_file_t* ppd) {
    if (ppd == nullptr || ppd->lang_encoding == nullptr)
        return kCFStringEncodingMacRoman;
    for (const EncodingName& row : kEncodings) {
        if (std::strcmp(ppd->lang_encoding, row.name) == 0)
            return row.encoding;
    }
    return kCFStringEncodingMacRoman;
}

CFStringRef PPDCopyChoiceText(ppd_file_t* ppd, CFStringRef keyword, CFStringRef choice) {
    if (ppd == nullptr || keyword == nullptr || choice == nullptr)
        return nullptr;
    const CFStringEncoding encoding = PPDGetEncoding(ppd);
    ppd_option_t* option = find_option(ppd, keyword, encoding);
    std::vector<char> choiceName = bytes_of(choice, encoding);
    if (option == nullptr || choiceName.empty())
        return nullptr;
    ppd_choice_t* found = ppdFindChoice(option, choiceName.data());
    return found != nullptr ? create_string(found->text, encoding) : nullptr;
}

CFStringRef PPDCopyDefaultChoice(ppd_file_t* ppd, CFStringRef keyword) {
    if (ppd == nullptr || keyword == nullptr)
        return nullptr;
    const CFStringEncoding encoding = PPDGetEncoding(ppd);
    ppd_option_t* option = find_option(ppd, keyword, encoding);
    return option != nullptr ? create_string(option->defchoice, encoding) : nullptr;
}

CFStringRef PPDCopyCurrentChoice(PMTicketRef ticket, CFStringRef keyword) {
    if (ticket == nullptr || keyword == nullptr)
        return nullptr;
    CFDictionaryRef dict = ppd_dict_of(ticket);
    const void* choice = dict != nullptr ? CFDictionaryGetValue(dict, keyword) : nullptr;
    if (choice == nullptr || CFGetTypeID(choice) != CFStringGetTypeID())
        return nullptr;
    return CFStringCreateCopy(nullptr, static_cast<CFStringRef>(choice));
}

void PPDSetCurrentChoice(PMTicketRef ticket, CFStringRef keyword, CFStringRef choice) {
    if (ticket == nullptr || keyword == nullptr || choice == nullptr)
        return;
    if (CFMutableDictionaryRef dict = ppd_dict_of(ticket))
        CFDictionarySetValue(dict, keyword, choice);
}

void PPDGetTicketValueForChoiceOrDefault(ppd_file_t* ppd, PMTicketRef ticket, CFStringRef keyword,
                                         SInt32* outValue) {
    if (outValue == nullptr)
        return;
    cf::Holder<CFStringRef> choice(PPDCopyCurrentChoice(ticket, keyword));
    if (!choice)
        choice.reset(PPDCopyDefaultChoice(ppd, keyword));
    if (choice)
        *outValue = PPDTicketValueForChoice(keyword, choice.get());
}

UInt16 PPDPopulateMenuWithChoices(MenuRef menu, ppd_file_t* ppd, CFStringRef keyword,
                                  MenuCommand commandID, Boolean markDefaults) {
    const CFStringEncoding encoding = PPDGetEncoding(ppd);
    if (menu == nullptr || ppd == nullptr || keyword == nullptr)
        return 0;
    if (markDefaults)
        ppdMarkDefaults(ppd);
    DeleteMenuItems(menu, 1, CountMenuItems(menu));
    ppd_option_t* option = find_option(ppd, keyword, encoding);
    if (option == nullptr) {
        std::fputs("Expected PPD option not found: ", stderr);
        CFShow(keyword);
        return CountMenuItems(menu);
    }
    for (int i = 0; i < option->num_choices; ++i) {
        const ppd_choice_t& choice = option->choices[i];
        // A choice that conflicts with what is marked cannot be offered.
        if (markDefaults && ppdMarkOption(ppd, option->keyword, choice.choice) > 0)
            continue;
        append_choice(menu, keyword, choice, encoding, commandID);
    }
    return CountMenuItems(menu);
}

UInt16 PPDPopulatePopupWithChoices(ControlRef popup, ppd_file_t* ppd, CFStringRef keyword,
                                   Boolean markDefaults) {
    if (popup == nullptr || ppd == nullptr || keyword == nullptr)
        return 0;
    MenuRef menu = toolkit::popup_menu(popup);
    if (menu == nullptr)
        return 0;
    UInt16 count = PPDPopulateMenuWithChoices(menu, ppd, keyword, 0, markDefaults);
    SetControl32BitMaximum(popup, count);
    return count;
}
