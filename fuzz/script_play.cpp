// Host scripts played, not just parsed: each input is the script event source of a modal loop
// over a window with the controls a panel uses (label, edit text, check box, popup, combo box,
// a hidden and a disabled button, OK). Whatever a script says, the loop ends with a status, and
// what the script writes (dumps, snapshots) stays in this process's own folder.
#include "FuzzSupport.h"

#include <Carbon/Carbon.h>
#include <HIToolbox/HIComboBox.h>
#include <HIToolbox/PlatformHost.h>

#include <dirent.h>
#include <sys/stat.h>

namespace {

constexpr OSType kSig = 'TVKa';

// The folder the script's output files go to: emptied after each input, removed at exit.
class WorkFolder {
  public:
    WorkFolder() {
        const char* tmp = std::getenv("TMPDIR");
        path_ = std::string(tmp != nullptr ? tmp : "/tmp") + "/fuzz-" + std::to_string(getpid()) +
                "-play";
        mkdir(path_.c_str(), 0700);
    }
    ~WorkFolder() {
        empty();
        rmdir(path_.c_str());
    }
    const char* path() const { return path_.c_str(); }
    void empty() const {
        DIR* dir = opendir(path_.c_str());
        if (dir == nullptr)
            return;
        while (const dirent* entry = readdir(dir))
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                unlink((path_ + "/" + entry->d_name).c_str());
        closedir(dir);
    }

  private:
    std::string path_;
};

OSStatus quit_on_ok(EventHandlerCallRef, EventRef event, void* window) {
    ControlRef control = nullptr;
    GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof control,
                      nullptr, &control);
    UInt32 command = 0;
    if (control != nullptr && GetControlCommandID(control, &command) == noErr &&
        command == kHICommandOK)
        QuitAppModalLoopForWindow(static_cast<WindowRef>(window));
    return eventNotHandledErr;
}

void give_id(ControlRef control, SInt32 id) {
    const ControlID control_id{kSig, id};
    SetControlID(control, &control_id);
}

WindowRef make_window() {
    const Rect content{100, 100, 300, 400};
    WindowRef window = nullptr;
    CreateNewWindow(kMovableModalWindowClass, 0, &content, &window);
    SetWindowTitleWithCFString(window, CFSTR("Codes"));
    const Rect r1{10, 10, 26, 100}, r2{10, 110, 30, 290}, r3{40, 10, 58, 200}, r4{70, 10, 90, 200},
        r5{150, 20, 170, 100}, r6{150, 110, 170, 190}, r7{150, 200, 170, 280};
    ControlRef label = nullptr, field = nullptr, check = nullptr, popup = nullptr;
    ControlRef hidden = nullptr, disabled = nullptr, ok = nullptr;
    CreateStaticTextControl(window, &r1, CFSTR("User ID"), nullptr, &label);
    CreateEditUnicodeTextControl(window, &r2, CFSTR(""), false, nullptr, &field);
    CreateCheckBoxControl(window, &r3, CFSTR("Mask"), 0, true, &check);
    CreatePopupButtonControl(window, &r4, CFSTR("Type"), 1, false, -1, 0, 0, &popup);
    CreatePushButtonControl(window, &r5, CFSTR("Hidden"), &hidden);
    CreatePushButtonControl(window, &r6, CFSTR("Disabled"), &disabled);
    CreatePushButtonControl(window, &r7, CFSTR("OK"), &ok);
    MenuRef menu = nullptr;
    GetControlData(popup, 0, kControlPopupButtonMenuRefTag, sizeof menu, &menu, nullptr);
    AppendMenuItemTextWithCFString(menu, CFSTR("Default Group Account"), 0, 0, nullptr);
    AppendMenuItemTextWithCFString(menu, CFSTR("General Account"), 0, 0, nullptr);
    SetControl32BitMaximum(popup, 2);
    SetControl32BitValue(popup, 1);
    const HIRect combo_bounds{{10, 100}, {180, 20}};
    const void* sizes[] = {CFSTR("A4"), CFSTR("Letter")};
    const cf::Holder<CFArrayRef> list(CFArrayCreate(nullptr, sizes, 2, &kCFTypeArrayCallBacks));
    HIViewRef combo = nullptr;
    if (HIComboBoxCreate(&combo_bounds, CFSTR(""), nullptr, list.get(),
                         kHIComboBoxStandardAttributes, &combo) == noErr)
        HIViewAddSubview(HIViewGetRoot(window), combo);
    give_id(field, 501);
    give_id(check, 111);
    give_id(popup, 505);
    give_id(combo, 70);
    SetControlCommandID(ok, kHICommandOK);
    SetWindowDefaultButton(window, ok);
    HideControl(hidden);
    DisableControl(disabled);
    const EventTypeSpec hit{kEventClassControl, kEventControlHit};
    InstallEventHandler(GetWindowEventTarget(window), quit_on_ok, 1, &hit, window, nullptr);
    ShowWindow(window);
    return window;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::ScratchFile script("play.script");
    static const WorkFolder output;
    PlatformEventSource source{};
    // A script the parser refuses never plays; the parse alone is the "script" target's.
    if (PlatformCreateScriptEventSource(script.write(data, size), output.path(), &source) != noErr)
        return 0;
    WindowRef window = make_window();
    PlatformSetEventSource(&source);
    RunAppModalLoopForWindow(window);
    PlatformSetEventSource(nullptr);
    DisposeWindow(window);
    output.empty();
    return 0;
}
