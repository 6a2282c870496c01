// The user pane: a plain container, or an area its owner draws and handles
// through procedure pointers kept under the pane's data tags.
// The theme calls the draw procedure (Theme_Containers.cpp).
// FIXME: the hit testing, idle, key and focus procedures are called by the
// click and focus handling, which arrive with the control kinds.
#include "Drawing.h"
#include "TXNInternal.h"

namespace {

struct UserPaneState : hit::KindState {
    ControlUserPaneDrawUPP draw = nullptr;
    ControlUserPaneHitTestUPP hit_test = nullptr;
    ControlUserPaneIdleUPP idle = nullptr;
    ControlUserPaneKeyDownUPP key_down = nullptr;
    ControlUserPaneActivateUPP activate = nullptr;
    ControlUserPaneFocusUPP focus = nullptr;
};

// One getter and setter pair per procedure member of the state.
template <class UPP, UPP UserPaneState::*member> struct ProcTag {
    static OSStatus get(ControlRef control, ControlPartCode, Size size, void* buffer,
                        Size* actual) {
        return hit::get_fixed(hit::kind_state<UserPaneState>(control)->*member, size, buffer,
                              actual);
    }
    static OSStatus set(ControlRef control, ControlPartCode, Size size, const void* data) {
        return hit::set_fixed(hit::kind_state<UserPaneState>(control)->*member, size, data);
    }
    static constexpr hit::DataTag entry(ResType tag) { return {tag, &get, &set}; }
};

const hit::DataTag kTags[] = {
    ProcTag<ControlUserPaneDrawUPP, &UserPaneState::draw>::entry(kControlUserPaneDrawProcTag),
    ProcTag<ControlUserPaneHitTestUPP, &UserPaneState::hit_test>::entry(
        kControlUserPaneHitTestProcTag),
    ProcTag<ControlUserPaneIdleUPP, &UserPaneState::idle>::entry(kControlUserPaneIdleProcTag),
    ProcTag<ControlUserPaneKeyDownUPP, &UserPaneState::key_down>::entry(
        kControlUserPaneKeyDownProcTag),
    ProcTag<ControlUserPaneActivateUPP, &UserPaneState::activate>::entry(
        kControlUserPaneActivateProcTag),
    ProcTag<ControlUserPaneFocusUPP, &UserPaneState::focus>::entry(kControlUserPaneFocusProcTag),
};

std::unique_ptr<hit::KindState> make_state() {
    return std::make_unique<UserPaneState>();
}

} // namespace

namespace hit {

const ControlKindClass& user_pane_kind() {
    static const ControlKindClass kind = {
        .kind = {kControlKindSignatureApple, kControlKindUserPane},
        .name = "user pane",
        .features = kControlSupportsDataAccess,
        .tags = kTags,
        .tag_count = sizeof(kTags) / sizeof(kTags[0]),
        .make_state = make_state,
        .copy_text = nullptr,
        .dump_fields = hit::txn::dump_hosted, // a text view's text, selection, scroll
        .draw = hit::theme::draw_user_pane,
    };
    static bool registered = (register_control_kind(kind), true);
    (void)registered;
    return kind;
}

} // namespace hit

OSStatus CreateUserPaneControl(WindowRef window, const Rect* boundsRect, UInt32 features,
                               ControlRef* outControl) {
    return hit::create_control(window, boundsRect, hit::user_pane_kind(), features, outControl);
}
