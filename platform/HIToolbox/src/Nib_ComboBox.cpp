// The nib kind "combo-box": a combo box (HIComboBoxCreate) whose <item>
// entries are its list and whose title is its text.
#include "NibInternal.h"
#include "TextInternal.h"
#include <CoreFoundation/CFHolder.h>

#include <HIToolbox/HIComboBox.h>

namespace hit::nib {
namespace {

bool combo_fail(BuildContext& context, int line, const std::string& message) {
    context.error = located(context.document.file, line, message);
    return false;
}

} // namespace

OSStatus build_combo_box(WindowRef window, const ControlNode& node, BuildContext& context,
                         ControlRef* out) {
    cf::Holder<CFStringRef> text;
    if (node.title && !(text = cf::Holder<CFStringRef>(create_utf8_string(*node.title)))) {
        combo_fail(context, node.line, "the title is not UTF-8 text");
        return errCorruptWindowDescription;
    }
    cf::Holder<CFMutableArrayRef> list(CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks));
    for (const ItemNode& item : node.items) {
        cf::Holder<CFStringRef> title(create_utf8_string(item.title));
        if (!title) {
            combo_fail(context, item.line, "the title is not UTF-8 text");
            return errCorruptWindowDescription;
        }
        CFArrayAppendValue(list.get(), title.get());
    }
    const Rect& b = node.bounds;
    const HIRect bounds{
        {static_cast<CGFloat>(b.left), static_cast<CGFloat>(b.top)},
        {static_cast<CGFloat>(b.right - b.left), static_cast<CGFloat>(b.bottom - b.top)}};
    OSStatus status = HIComboBoxCreate(&bounds, text.get(), nullptr, list.get(),
                                       kHIComboBoxStandardAttributes, out);
    if (status != noErr)
        return status;
    // The window's root takes over the creation reference.
    if ((status = HIViewAddSubview(HIViewGetRoot(window), *out)) != noErr) {
        CFRelease(*out);
        *out = nullptr;
    }
    return status;
}

} // namespace hit::nib
