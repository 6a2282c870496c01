// The builders of the control kinds a nib can name: each reads the
// attributes of its kind and makes the control with the kind's own creation
// call. The attributes every control shares are applied by Nib_Build.cpp.
#include "CFHold.h"
#include "NibInternal.h"

#include <span>

namespace hit::nib {
namespace {

struct Feature {
    const char* name;
    UInt32 bit;
};

constexpr Feature kUserPaneFeatures[] = {
    {"embedding", kControlSupportsEmbedding},
    {"focus", kControlSupportsFocus},
    {"gets-focus-on-click", kControlGetsFocusOnClick},
    {"handles-tracking", kControlHandlesTracking},
    {"data-access", kControlSupportsDataAccess},
    {"idle", kControlWantsIdle},
    {"activate", kControlWantsActivate},
};

bool fail(BuildContext& context, int line, const std::string& message) {
    context.error = located(context.document.file, line, message);
    return false;
}

// The title as a CFString (nullptr when the node has none); false when the
// text cannot be made into a string.
bool title_of(const ControlNode& node, BuildContext& context, CFHold<CFStringRef>& out) {
    if (!node.title)
        return true;
    out = make_cfstring(*node.title);
    return out || fail(context, node.line, "the title is not UTF-8 text");
}

// "embedding focus": a space-separated list of feature names.
bool parse_features(const Attribute& attribute, BuildContext& context, UInt32& out) {
    out = 0;
    const std::string& text = attribute.value;
    for (size_t start = 0; (start = text.find_first_not_of(' ', start)) != std::string::npos;) {
        const size_t end = text.find(' ', start);
        const std::string word = text.substr(start, end - start);
        const Feature* found = nullptr;
        for (const Feature& feature : kUserPaneFeatures)
            if (word == feature.name)
                found = &feature;
        if (found == nullptr)
            return fail(context, attribute.line, "unknown user pane feature \"" + word + "\"");
        out |= found->bit;
        start = end;
    }
    return true;
}

const char* const kUserPaneAttributes[] = {"features", nullptr};

// A user pane embeds unless its features say otherwise; its title is kept
// for people reading dumps, it draws none.
OSStatus build_user_pane(WindowRef window, const ControlNode& node, BuildContext& context,
                         ControlRef* out) {
    UInt32 features = kControlSupportsEmbedding;
    if (const Attribute* attribute = node.find_extra("features"))
        if (!parse_features(*attribute, context, features))
            return errCorruptWindowDescription;
    if ((features & kControlSupportsEmbedding) == 0 && !node.children.empty()) {
        fail(context, node.line, "a user pane without the embedding feature holds controls");
        return errCorruptWindowDescription;
    }
    CFHold<CFStringRef> title;
    if (!title_of(node, context, title))
        return errCorruptWindowDescription;
    OSStatus status = CreateUserPaneControl(window, &node.bounds, features, out);
    if (status == noErr && title)
        status = SetControlTitleWithCFString(*out, title.get());
    return status;
}

const char* const kPushButtonAttributes[] = {"default", "cancel", nullptr};

OSStatus build_push_button(WindowRef window, const ControlNode& node, BuildContext& context,
                           ControlRef* out) {
    bool ok = true;
    const bool is_default = extra_bool(node, "default", false, context, ok);
    const bool is_cancel = extra_bool(node, "cancel", false, context, ok);
    CFHold<CFStringRef> title;
    if (!ok || !title_of(node, context, title))
        return errCorruptWindowDescription;
    OSStatus status = CreatePushButtonControl(window, &node.bounds, title.get(), out);
    if (status == noErr && is_default)
        status = SetWindowDefaultButton(window, *out);
    if (status == noErr && is_cancel)
        status = SetWindowCancelButton(window, *out);
    return status;
}

const Builder kBuilders[] = {
    {"user-pane", kUserPaneAttributes, true, false, build_user_pane},
    {"push-button", kPushButtonAttributes, false, false, build_push_button},
};

} // namespace

std::span<const Builder> builtin_builders() {
    return kBuilders;
}

} // namespace hit::nib
