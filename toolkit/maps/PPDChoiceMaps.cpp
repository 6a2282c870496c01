// PPD choice tables: each option's choice keywords and the ticket values that stand for them,
// and MainKeywordMap, which finds an option's table by its main keyword. Several options share
// a table (the cover and slip sheet sources are trays). Where a table carries a value twice,
// the earlier row is the one a value lookup answers with.
#include "SettingMaps.h"

const ChoiceMap BannerPageMap[] = {
    {CFSTR("True"), 1},
    {CFSTR("False"), 0},
    {nullptr, 0},
};

const ChoiceMap RequestOffsetMap[] = {
    {CFSTR("EndOfSet"), 1},
    {CFSTR("None"), 0},
    {nullptr, 0},
};

const ChoiceMap JCLTrueGrayGraphicsMap[] = {
    {CFSTR("False"), 1},
    {CFSTR("True"), 2},
    {nullptr, 0},
};

const ChoiceMap JCLTrueGrayImagesMap[] = {
    {CFSTR("False"), 1},
    {CFSTR("True"), 2},
    {nullptr, 0},
};

const ChoiceMap LightenDarkenMap[] = {
    {CFSTR("Lighten5"), -5}, {CFSTR("Lighten4"), -4}, {CFSTR("Lighten3"), -3},
    {CFSTR("Lighten2"), -2}, {CFSTR("Lighten1"), -1}, {CFSTR("Normal"), 0},
    {CFSTR("Darken1"), 1},   {CFSTR("Darken2"), 2},   {CFSTR("Darken3"), 3},
    {CFSTR("Darken4"), 4},   {CFSTR("Darken5"), 5},   {nullptr, 0},
};

const ChoiceMap PPDDuplexMap[] = {
    {CFSTR("None"), 1},
    {CFSTR("DuplexNoTumble"), 2},
    {CFSTR("DuplexTumble"), 3},
    {nullptr, 0},
};

const ChoiceMap JCLPrintQualityMap[] = {
    {CFSTR("TonerSaver"), 1},
    {CFSTR("Standard"), 2},
    {CFSTR("Enhanced"), 3},
    {CFSTR("HighSpeed"), 4},
    {CFSTR("HighQuality"), 5},
    {CFSTR("HighResolution"), 6},
    {nullptr, 0},
};

const ChoiceMap TKRGBColorSpaceMap[] = {
    {CFSTR("TovekRGB"), 1}, {CFSTR("sRGB"), 2}, {CFSTR("AppleRGB"), 3},
    {CFSTR("AdobeRGB"), 4}, {nullptr, 0},
};

const ChoiceMap TKCMYKColorSpaceMap[] = {
    {CFSTR("SNAP"), 1},       {CFSTR("SWOP"), 2},       {CFSTR("EuroScale"), 3},
    {CFSTR("Commercial"), 4}, {CFSTR("JapanColor"), 5}, {nullptr, 0},
};

const ChoiceMap JCLColorCorrectionMap[] = {
    {CFSTR("Auto"), 1},
    {CFSTR("sRGB"), 2},
    {CFSTR("BlackWhite"), 3},
    {CFSTR("PressMatch"), 4},
    {CFSTR("None"), 5},
    {CFSTR("Standard"), 6},
    {nullptr, 0},
};

// "Upper", "Center" and "Bottom" are the same bin on different models; 5 reads back as "Upper".
const ChoiceMap OutputBinMap[] = {
    {CFSTR("Auto"), 1},
    {CFSTR("Side"), 3},
    {CFSTR("Top"), 2},
    {CFSTR("TopTray"), 18},
    {CFSTR("Stacker"), 4},
    {CFSTR("TopTrayHCS"), 16},
    {CFSTR("StackerTrayHCS"), 17},
    {CFSTR("Upper"), 5},
    {CFSTR("Lower"), 6},
    {CFSTR("Booklet"), 7},
    {CFSTR("Middle"), 11},
    {CFSTR("Middle2"), 15},
    {CFSTR("PrinterDefault"), kPrinterDefaultValue},
    {CFSTR("Center"), 5},
    {CFSTR("Bottom"), 5},
    {CFSTR("EnvFolder"), 13},
    {CFSTR("SBM"), 14},
    {nullptr, 0},
};

const ChoiceMap TKFoldMap[] = {
    {CFSTR("None"), 1},    {CFSTR("C"), 19},
    {CFSTR("Z"), 20},      {CFSTR("ZFoldHalfSheet"), 36},
    {CFSTR("BiFold"), 43}, {CFSTR("BiFoldStaple"), 53},
    {nullptr, 0},
};

const ChoiceMap TKPunchMap[] = {
    {CFSTR("None"), 1},       {CFSTR("HolePunch"), 2},  {CFSTR("2HolePunch"), 3},
    {CFSTR("3HolePunch"), 4}, {CFSTR("4HolePunch"), 5}, {nullptr, 0},
};

const ChoiceMap TKStapleMap[] = {
    {CFSTR("None"), 1},
    {CFSTR("SinglePortrait"), 5},
    {CFSTR("DualLandscape"), 10},
    {CFSTR("MultipleStaples"), 54},
    {nullptr, 0},
};

const ChoiceMap DraftModeMap[] = {
    {CFSTR("None"), 2},
    {CFSTR("Draft"), 1},
    {nullptr, 0},
};

const ChoiceMap PPDOutputOptionMap[] = {
    {CFSTR("True"), 1},
    {CFSTR("False"), 0},
    {nullptr, 0},
};

const ChoiceMap PPDResolutionMap[] = {
    {CFSTR("200x100dpi"), 6},   {CFSTR("200x200dpi"), 5},
    {CFSTR("300x300dpi"), 1},   {CFSTR("600x600dpi"), 2},
    {CFSTR("1200x600dpi"), 3},  {CFSTR("1200x1200dpi"), 4},
    {CFSTR("1800x1800dpi"), 7}, {nullptr, 0},
};

const ChoiceMap ColorModeMap[] = {
    {CFSTR("Grayscale"), 1},
    {CFSTR("Color"), 2},
    {nullptr, 0},
};

const ChoiceMap InputSlotMap[] = {
    {CFSTR("Auto"), 0},  {CFSTR("Tray1"), 1},    {CFSTR("Tray2"), 2},
    {CFSTR("Tray3"), 3}, {CFSTR("Tray4"), 4},    {CFSTR("Tray5"), 5},
    {CFSTR("Tray6"), 6}, {CFSTR("Bypass"), 100}, {nullptr, 0},
};

const ChoiceMap FeedEdgeMap[] = {
    {CFSTR("LongEdge"), 1},
    {CFSTR("ShortEdge"), 2},
    {nullptr, 0},
};

const ChoiceMap SlipSheetMap[] = {
    {CFSTR("None"), 1},
    {CFSTR("Blank"), 2},
    {CFSTR("Printed"), 3},
    {nullptr, 0},
};

const KeywordMap MainKeywordMap[] = {
    {CFSTR("JCLBanner"), BannerPageMap},
    {CFSTR("Jog"), RequestOffsetMap},
    {CFSTR("JCLTrueGrayGraphics"), JCLTrueGrayGraphicsMap},
    {CFSTR("JCLTrueGrayImages"), JCLTrueGrayImagesMap},
    {CFSTR("TKImageQuality"), LightenDarkenMap},
    {CFSTR("MediaColor"), MediaColorMap},
    {CFSTR("MediaType"), MediaTypeMap},
    {CFSTR("Duplex"), PPDDuplexMap},
    {CFSTR("JCLPrintQuality"), JCLPrintQualityMap},
    {CFSTR("JCLRGBColorSpace"), TKRGBColorSpaceMap},
    {CFSTR("JCLCMYKColorSpace"), TKCMYKColorSpaceMap},
    {CFSTR("JCLColorCorrection"), JCLColorCorrectionMap},
    {CFSTR("PageSize"), PageSizeMap},
    {CFSTR("OutputBin"), OutputBinMap},
    {CFSTR("TKFold"), TKFoldMap},
    {CFSTR("TKPunch"), TKPunchMap},
    {CFSTR("StapleLocation"), TKStapleMap},
    {CFSTR("TKEconomode"), DraftModeMap},
    {CFSTR("TKOutputOption"), PPDOutputOptionMap},
    {CFSTR("Resolution"), PPDResolutionMap},
    {CFSTR("TKColorMode"), ColorModeMap},
    {CFSTR("InputSlot"), InputSlotMap},
    {CFSTR("TKFeedEdge"), FeedEdgeMap},
    {CFSTR("TKFrontCoverSheet"), InputSlotMap},
    {CFSTR("TKBackCoverSheet"), InputSlotMap},
    {CFSTR("TKSlipSheetPrint"), SlipSheetMap},
    {CFSTR("TKSlipSheetSource"), InputSlotMap},
    {CFSTR("TKSlipSheetType"), MediaTypeMap},
    {nullptr, nullptr},
};
