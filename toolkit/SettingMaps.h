/*
 * SettingMaps.h: constant tables that pair the localisation key of each choice of a print
 * setting with the value the print settings ticket stores for it, and the routines that fill
 * popup menus from them and translate between ticket values, menu items and PPD choices.
 */
#ifndef TOOLKIT_SETTINGMAPS_H
#define TOOLKIT_SETTINGMAPS_H

#include <CoreFoundation/CoreFoundation.h>

CF_EXTERN_C_BEGIN

/* One row of a popup table; a table ends with a row whose localizedKey is NULL and whose
   ticketValue is 0. */
typedef struct SettingMap {
    CFStringRef localizedKey;
    SInt32 ticketValue;
    UInt32 commandID;
    CFStringRef featureName;
    Boolean featureInstalled;
} SettingMap;

/* A row that leaves the setting to the printer or the job. */
#define kPrinterDefaultValue ((SInt32)0x80000000)

/* The accounting panel's tables: accounting system and account type. */
CF_EXPORT const SettingMap AccountingMap[];
CF_EXPORT const SettingMap AccountingTypeMap[];

CF_EXTERN_C_END

#endif /* TOOLKIT_SETTINGMAPS_H */
