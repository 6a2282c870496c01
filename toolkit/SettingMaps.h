/*
 * SettingMaps.h: constant tables that pair the localisation key of each choice of a print
 * setting with the value the print settings ticket stores for it, and the routines that fill
 * popup menus from them and translate between ticket values, menu items and PPD choices.
 */
#ifndef TOOLKIT_SETTINGMAPS_H
#define TOOLKIT_SETTINGMAPS_H

#include <Carbon/Carbon.h>

CF_EXTERN_C_BEGIN

/* One row of a popup table; a table ends with a row whose localizedKey is NULL and whose
   ticketValue is 0, so no real row uses the value 0. A row with a featureName applies only
   when getInstalledFeature(featureName) equals featureInstalled. */
typedef struct SettingMap {
    CFStringRef localizedKey;
    SInt32 ticketValue;
    UInt32 commandID;
    CFStringRef featureName;
    Boolean featureInstalled;
} SettingMap;

/* A row that leaves the setting to the printer or the job. Its title comes from the key
   "PrinterDefault" (job context 0) or "UseJobSetting" (any other job context). */
#define kPrinterDefaultValue ((SInt32)0x80000000)

/* Who a popup is shown for: zero is the printer's own defaults, anything else a job. */
typedef UInt32 JobContext;
enum { kJobContextPrinterDefaults = 0, kJobContextJob = 1 };

/* One row of a paper-size table: like SettingMap in its first two fields; the size in points
   and the PPD's name for it follow. A table ends with a row whose ticketValue is 0. */
typedef struct PaperSizeSettingMap {
    CFStringRef localizedKey;
    SInt32 ticketValue;
    CFStringRef ppdPageSize;
    float widthPoints;
    float heightPoints;
} PaperSizeSettingMap;

/* One row of a PPD choice table: the choice keyword (compared exactly) and its ticket value.
   A table ends with a row whose choice is NULL; 0 is an ordinary value here. */
typedef struct ChoiceMap {
    CFStringRef choice;
    SInt32 ticketValue;
} ChoiceMap;

/* One row of MainKeywordMap: a PPD main keyword and the choice table of its option. */
typedef struct KeywordMap {
    CFStringRef keyword;
    const ChoiceMap* choices;
} KeywordMap;

/* The accounting panel's tables: accounting system and account type. */
CF_EXPORT const SettingMap AccountingMap[];
CF_EXPORT const SettingMap AccountingTypeMap[];

/* PPD main keyword -> choice table; several keywords share a table. */
CF_EXPORT const KeywordMap MainKeywordMap[];

CF_EXPORT const ChoiceMap BannerPageMap[];
CF_EXPORT const ChoiceMap RequestOffsetMap[];
CF_EXPORT const ChoiceMap JCLTrueGrayGraphicsMap[];
CF_EXPORT const ChoiceMap JCLTrueGrayImagesMap[];
CF_EXPORT const ChoiceMap LightenDarkenMap[];
CF_EXPORT const ChoiceMap MediaColorMap[];
CF_EXPORT const ChoiceMap MediaTypeMap[];
CF_EXPORT const ChoiceMap PPDDuplexMap[];
CF_EXPORT const ChoiceMap JCLPrintQualityMap[];
CF_EXPORT const ChoiceMap TKRGBColorSpaceMap[];
CF_EXPORT const ChoiceMap TKCMYKColorSpaceMap[];
CF_EXPORT const ChoiceMap JCLColorCorrectionMap[];
CF_EXPORT const ChoiceMap PageSizeMap[];
CF_EXPORT const ChoiceMap OutputBinMap[];
CF_EXPORT const ChoiceMap TKFoldMap[];
CF_EXPORT const ChoiceMap TKPunchMap[];
CF_EXPORT const ChoiceMap TKStapleMap[];
CF_EXPORT const ChoiceMap DraftModeMap[];
CF_EXPORT const ChoiceMap PPDOutputOptionMap[];
CF_EXPORT const ChoiceMap PPDResolutionMap[];
CF_EXPORT const ChoiceMap ColorModeMap[];
CF_EXPORT const ChoiceMap InputSlotMap[];
CF_EXPORT const ChoiceMap FeedEdgeMap[];
CF_EXPORT const ChoiceMap SlipSheetMap[];

/* Appends to menu (without emptying it) one item per row of map whose gate holds, titled from
   bundle's default strings table ("STRING NOT FOUND" for a missing key), with commandID when
   it is non-zero, else the row's own, and the row's ticket value as its reference constant.
   The menu's own reference constant (item 0) becomes the table's address. Returns the number
   of rows read, hidden ones included (CountMaps(map)). */
CF_EXPORT UInt16 PopulateMenuFromMap(CFBundleRef bundle, MenuRef menu, const SettingMap* map,
                                     JobContext jobContext, MenuCommand commandID);

/* Empties the popup's menu, fills it with PopulateMenuFromMap and makes the returned row count
   the popup's maximum; the popup's value is left alone. Returns 0 for a popup without a menu. */
CF_EXPORT UInt16 PopulatePopupButtonFromMap(CFBundleRef bundle, ControlRef popup,
                                            const SettingMap* map, JobContext jobContext,
                                            MenuCommand commandID);

/* Selects the first item whose reference constant is ticketValue and returns true; false, with
   the popup unchanged, when no item carries it or popup is NULL. */
CF_EXPORT Boolean SetPopupButtonToTicketValue(ControlRef popup, SInt32 ticketValue);

/* The reference constant (ticket value) of the item whose number is the popup's value; at
   value 0, item 0's: the menu's own constant (a filled menu's table address, cut to 32 bits).
   0 when the popup has no menu or no such item. */
CF_EXPORT SInt32 GetPopupButtonTicketValue(ControlRef popup);

/* The key (not retained) of the first row carrying ticketValue whose feature gate holds;
   NULL when none does. */
CF_EXPORT CFStringRef LocalizedKeyForTicketValue(const SettingMap* map, SInt32 ticketValue);

/* The key (not retained) of the first row of a paper-size table carrying ticketValue; NULL
   when none does. Paper-size rows have no gates. */
CF_EXPORT CFStringRef LocalizedKeyForPaperSizeTicketValue(const PaperSizeSettingMap* paperMap,
                                                          SInt32 ticketValue);

/* The number of rows before the terminator, gated or not. */
CF_EXPORT UInt16 CountMaps(const SettingMap* map);

/* The ticket value of the row at 1-based position uiIndex, counting every row. The index is
   not checked: it must name a row of the table. */
CF_EXPORT SInt32 UIToTicket(const SettingMap* map, SInt32 uiIndex);

/* The 1-based position of the first row carrying ticketValue whose gate holds (positions count
   every row); -1 when none does. */
CF_EXPORT SInt32 TicketToUI(const SettingMap* map, SInt32 ticketValue);

/* The ticket value of a PPD choice of the option keyword; -1 when an argument is NULL or the
   keyword or choice is unknown. "TKImageQuality"/"Lighten1" is -1 too: callers that must tell
   the two apart look the choice up in LightenDarkenMap themselves. */
CF_EXPORT SInt32 PPDTicketValueForChoice(CFStringRef keyword, CFStringRef choice);

/* The PPD choice (not retained) that stands for ticketValue under the option keyword; NULL
   when the keyword is NULL or unknown, or no choice carries the value. */
CF_EXPORT CFStringRef PPDChoiceForTicketValue(CFStringRef keyword, SInt32 ticketValue);

CF_EXTERN_C_END

#endif /* TOOLKIT_SETTINGMAPS_H */
