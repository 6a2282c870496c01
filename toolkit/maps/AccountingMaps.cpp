// The accounting panel's setting tables. The accounting system's values are 1 and 3: the
// value 2 belongs to a system that only a print ticket can bring.
#include "SettingMaps.h"

const SettingMap AccountingMap[] = {
    {CFSTR("None"), 1, 0, nullptr, false},
    {CFSTR("Accounting Enabled"), 3, 0, nullptr, false},
    {nullptr, 0, 0, nullptr, false},
};

const SettingMap AccountingTypeMap[] = {
    {CFSTR("Default Group Account"), 1, 0, nullptr, false},
    {CFSTR("General Account"), 2, 0, nullptr, false},
    {CFSTR("Group Account"), 3, 0, nullptr, false},
    {nullptr, 0, 0, nullptr, false},
};
