// Lookups over the setting tables and the PPD choice tables. Every scan answers with the first
// matching row: tables rely on that to give a duplicated value or choice one reading.
#include "SettingMaps.h"
#include "InstallableOptions.h"
#include "SettingMapsInternal.h"

bool toolkit::setting_row_applies(const SettingMap& row) {
    return row.featureName == nullptr ||
           getInstalledFeature(row.featureName) == row.featureInstalled;
}

namespace {

// The choice table of a PPD main keyword; NULL for an unknown keyword.
const ChoiceMap* choices_for_keyword(CFStringRef keyword) {
    for (const KeywordMap* row = MainKeywordMap; row->keyword != nullptr; ++row) {
        if (CFEqual(row->keyword, keyword))
            return row->choices;
    }
    return nullptr;
}

} // namespace

CFStringRef LocalizedKeyForTicketValue(const SettingMap* map, SInt32 ticketValue) {
    const SettingMap* row = map;
    for (; row->ticketValue != 0; ++row) {
        if (row->ticketValue == ticketValue && toolkit::setting_row_applies(*row))
            return row->localizedKey;
    }
    return row->localizedKey; // the terminator's, NULL in a well-formed table
}

CFStringRef LocalizedKeyForPaperSizeTicketValue(const PaperSizeSettingMap* paperMap,
                                                SInt32 ticketValue) {
    const PaperSizeSettingMap* row = paperMap;
    while (row->ticketValue != ticketValue && row->ticketValue != 0)
        ++row;
    return row->localizedKey;
}

UInt16 CountMaps(const SettingMap* map) {
    UInt16 count = 0;
    while (map[count].localizedKey != nullptr)
        ++count;
    return count;
}

SInt32 UIToTicket(const SettingMap* map, SInt32 uiIndex) {
    return map[uiIndex - 1].ticketValue;
}

SInt32 TicketToUI(const SettingMap* map, SInt32 ticketValue) {
    SInt32 index = 0;
    for (; map[index].ticketValue != 0; ++index) {
        if (map[index].ticketValue == ticketValue && toolkit::setting_row_applies(map[index]))
            break;
    }
    // Stopped on a row with a key: a match (or a value-0 row, which a table must not hold).
    return map[index].localizedKey == nullptr ? -1 : index + 1;
}

SInt32 PPDTicketValueForChoice(CFStringRef keyword, CFStringRef choice) {
    if (keyword == nullptr || choice == nullptr)
        return -1;
    const ChoiceMap* choices = choices_for_keyword(keyword);
    if (choices == nullptr)
        return -1;
    for (const ChoiceMap* row = choices; row->choice != nullptr; ++row) {
        if (CFEqual(row->choice, choice))
            return row->ticketValue;
    }
    return -1;
}

CFStringRef PPDChoiceForTicketValue(CFStringRef keyword, SInt32 ticketValue) {
    if (keyword == nullptr)
        return nullptr;
    const ChoiceMap* choices = choices_for_keyword(keyword);
    if (choices == nullptr)
        return nullptr;
    for (const ChoiceMap* row = choices; row->choice != nullptr; ++row) {
        if (row->ticketValue == ticketValue)
            return row->choice;
    }
    return nullptr;
}
