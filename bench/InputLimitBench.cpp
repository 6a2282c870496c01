// A keystroke into a limited field: the key goes through LimitInputEventHandler (length and
// character checks), the field inserts it, the field hears "ICso", and the window repaints the
// field. The refused keystroke (a letter in a digits-only field: a beep) is timed too.
#include "InputLimits.h"

#include <CoreServices/PlatformHost.h>
#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/PlatformHost.h>

#include <benchmark/benchmark.h>

namespace {

void silent_beep(short, void*) {}

OSStatus count_notification(EventHandlerCallRef, EventRef, void* data) {
    ++*static_cast<long*>(data);
    return noErr;
}

struct LimitedField {
    WindowRef window = nullptr;
    ControlRef field = nullptr;
    long notifications = 0;

    LimitedField() {
        const Rect bounds{100, 100, 200, 500};
        CreateNewWindow(kMovableModalWindowClass, kWindowStandardHandlerAttribute, &bounds,
                        &window);
        const Rect r{20, 20, 42, 380};
        CreateEditUnicodeTextControl(window, &r, CFSTR(""), false, nullptr, &field);
        CFCharacterSetRef digits = CFCharacterSetGetPredefined(kCFCharacterSetDecimalDigit);
        LimitInputLengthAndCharacters(field, 4, 32, digits);
        const EventTypeSpec notes[] = {{kEventClassInputLimit, kEventInputTextEmpty},
                                       {kEventClassInputLimit, kEventInputTextTooShort},
                                       {kEventClassInputLimit, kEventInputTextLongEnough}};
        InstallControlEventHandler(field, count_notification, 3, notes, &notifications, nullptr);
        ShowWindow(window);
        SetKeyboardFocus(window, field, kControlFocusNextPart);
        PlatformSetBeepHandler(silent_beep, nullptr);
    }
    ~LimitedField() {
        PlatformSetBeepHandler(nullptr, nullptr);
        DisposeWindow(window);
    }
    void repaint() {
        UInt32 pixel = 0;
        PlatformCopyWindowPixel(window, 0, 0, &pixel); // repaints what the key invalidated
    }
    void clear() {
        CFStringRef empty = CFSTR("");
        SetControlData(field, 0, kControlEditTextCFStringTag, sizeof(empty), &empty);
        repaint();
    }
};

void BM_AcceptedKeystroke(benchmark::State& state) {
    LimitedField f;
    int typed = 0;
    for (auto _ : state) {
        if (++typed == 30) { // stay below the maximum: every key is accepted
            state.PauseTiming();
            f.clear();
            typed = 1;
            state.ResumeTiming();
        }
        PlatformTypeKey(f.window, static_cast<UniChar>('0' + typed % 10), 0);
        f.repaint();
    }
    if (f.notifications != static_cast<long>(state.iterations()))
        state.SkipWithError("a keystroke was refused or not announced");
}
BENCHMARK(BM_AcceptedKeystroke)->Unit(benchmark::kMicrosecond);

void BM_RefusedKeystroke(benchmark::State& state) {
    LimitedField f;
    const unsigned long beeps = PlatformGetBeepCount();
    for (auto _ : state) {
        PlatformTypeKey(f.window, 'x', 0);
        f.repaint();
    }
    if (PlatformGetBeepCount() == beeps)
        state.SkipWithError("the letter was not refused");
}
BENCHMARK(BM_RefusedKeystroke)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
