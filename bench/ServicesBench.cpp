// The toolkit's services where a panel waits for them: a popup filled from a setting table and
// a 100-entry input history, and a popup filled from a PPD option of 50 choices, each beside
// the cost of reading its file alone:
//   build/default/bench/services_bench --benchmark_repetitions=9
//   --benchmark_report_aggregates_only=true
#include "PPDAccess.h"
#include "PreferenceFiles.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const SettingMap kMap[] = {
    {CFSTR("None"), 1, 0, nullptr, false},
    {CFSTR("Accounting Enabled"), 3, 0, nullptr, false},
    {CFSTR("Auto Select"), 4, 0, nullptr, false},
    {CFSTR("Booklet Tray"), 5, 0, nullptr, false},
    {CFSTR("Face Down Tray"), 6, 0, nullptr, false},
    {nullptr, 0, 0, nullptr, false},
};

// Fifty page sizes the toolkit's table knows.
const char* const kPageSizes[] = {"Letter",
                                  "Legal",
                                  "Tabloid",
                                  "A4",
                                  "A3",
                                  "FanFoldGermanLegal",
                                  "8.5x13",
                                  "3x5",
                                  "Officio",
                                  "Statement",
                                  "A5",
                                  "A6",
                                  "Executive",
                                  "B5",
                                  "A4Cover",
                                  "9x11",
                                  "9x11L",
                                  "B4",
                                  "5x7",
                                  "B6",
                                  "8x10",
                                  "4x6Pcard",
                                  "114x152Pcard",
                                  "EnvMonarch",
                                  "Env9",
                                  "Env10",
                                  "EnvDL",
                                  "EnvC5",
                                  "JISB5",
                                  "JISB4",
                                  "JISB6",
                                  "SpanishFolio",
                                  "EnvC4",
                                  "4x6",
                                  "100x148Postcard",
                                  "148x200Postcard",
                                  "TabloidExtra",
                                  "12x19",
                                  "13x19",
                                  "SRA3",
                                  "220x330",
                                  "815",
                                  "16K",
                                  "8K1",
                                  "16K1",
                                  "EnvB5",
                                  "Env6x9",
                                  "Env9x12",
                                  "EnvC6",
                                  "TK11x15"};

void fail(const char* what) {
    std::fprintf(stderr, "services_bench: %s\n", what);
    std::exit(1);
}

// A scratch home for the files, made once per process.
const std::string& scratch() {
    static const std::string folder = [] {
        char name[] = "/tmp/services-bench-XXXXXX";
        if (mkdtemp(name) == nullptr)
            fail("no scratch folder");
        std::string prefs = std::string(name) + "/Preferences";
        std::system(("mkdir -p " + prefs).c_str());
        setenv("CARBONRT_PREFERENCES_DIR", prefs.c_str(), 1);
        return std::string(name);
    }();
    return folder;
}

// An input history with 100 entries under "AccountID", written as a panel would.
void write_history() {
    scratch();
    CFMutableArrayRef entries = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
    for (int i = 0; i < 100; ++i) {
        CFStringRef entry = CFStringCreateWithFormat(nullptr, nullptr, CFSTR("Account %03d"), i);
        CFArrayAppendValue(entries, entry);
        CFRelease(entry);
    }
    CFMutableDictionaryRef root = CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    CFDictionarySetValue(root, CFSTR("AccountID"), entries);
    if (!WriteUserPreferences(kInputHistoryFileName, root))
        fail("cannot write the history");
    CFRelease(root);
    CFRelease(entries);
}

std::string write_ppd() {
    const std::string path = scratch() + "/Fifty.ppd";
    FILE* out = std::fopen(path.c_str(), "w");
    if (out == nullptr)
        fail("cannot write the PPD");
    std::fputs("*PPD-Adobe: \"4.3\"\n*% Synthetic benchmark data.\n*FormatVersion: \"4.3\"\n"
               "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n"
               "*ModelName: \"Fifty\"\n*NickName: \"Fifty\"\n"
               "*OpenUI *PageSize/Paper Size: PickOne\n*DefaultPageSize: A4\n",
               out);
    for (const char* size : kPageSizes)
        std::fprintf(out, "*PageSize %s/%s Paper: \"\"\n", size, size);
    std::fputs("*CloseUI: *PageSize\n", out);
    std::fclose(out);
    return path;
}

struct Popup {
    WindowRef window = nullptr;
    ControlRef popup = nullptr;
    Popup() {
        const Rect bounds{100, 100, 300, 500}, r{10, 10, 30, 250};
        if (CreateNewWindow(kDocumentWindowClass, 0, &bounds, &window) != noErr ||
            CreatePopupButtonControl(window, &r, nullptr, 200, false, 0, 0, 0, &popup) != noErr)
            fail("no popup");
    }
    ~Popup() { DisposeWindow(window); }
};

CFBundleRef fixture_bundle() {
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(TOOLKIT_BUNDLE), sizeof(TOOLKIT_BUNDLE) - 1, true);
    CFBundleRef bundle = CFBundleCreate(nullptr, url);
    CFRelease(url);
    if (bundle == nullptr)
        fail("no fixture bundle");
    return bundle;
}

void BM_PopulatePopupButtonFromMapAndHistory(benchmark::State& state) {
    write_history();
    CFBundleRef bundle = fixture_bundle();
    Popup popup;
    for (auto _ : state) {
        UInt16 count = PopulatePopupButtonFromMapAndHistory(bundle, popup.popup, kMap, 1,
                                                            CFSTR("AccountID"), 5, 'hist', 0);
        if (count != 105)
            fail("the popup does not hold the map and the history");
    }
    CFRelease(bundle);
}
BENCHMARK(BM_PopulatePopupButtonFromMapAndHistory)->Unit(benchmark::kMicrosecond);

void BM_ReadHistoryFileAlone(benchmark::State& state) {
    write_history();
    for (auto _ : state) {
        CFPropertyListRef root = CopyUserPreferences(kInputHistoryFileName);
        benchmark::DoNotOptimize(root);
        CFRelease(root);
    }
}
BENCHMARK(BM_ReadHistoryFileAlone)->Unit(benchmark::kMicrosecond);

void BM_PPDPopulatePopupWithChoices(benchmark::State& state) {
    ppd_file_t* ppd = ppdOpenFile(write_ppd().c_str());
    if (ppd == nullptr)
        fail("the PPD does not open");
    Popup popup;
    const Boolean markDefaults = state.range(0) != 0;
    for (auto _ : state) {
        if (PPDPopulatePopupWithChoices(popup.popup, ppd, CFSTR("PageSize"), markDefaults) != 50)
            fail("the popup does not hold the fifty sizes");
    }
    ppdClose(ppd);
}
BENCHMARK(BM_PPDPopulatePopupWithChoices)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_ReadPPDFileAlone(benchmark::State& state) {
    const std::string path = write_ppd();
    for (auto _ : state) {
        ppd_file_t* ppd = ppdOpenFile(path.c_str());
        benchmark::DoNotOptimize(ppd);
        ppdClose(ppd);
    }
}
BENCHMARK(BM_ReadPPDFileAlone)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
