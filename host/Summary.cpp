// The Summary panel: GetSummaryText of every PDE, laid out as lines of static text.
#include "Summary.h"
#include <CoreFoundation/CFDiagnostics.h>

#include "CFText.h"

#include <cstdio>

namespace host {
namespace {

constexpr SInt16 kLineHeight = 18, kIndent = 16, kInset = 8;

// The strings of the array, or nothing when an element is not a string.
bool strings_of(CFArrayRef array, std::vector<std::string>& out) {
    if (array == nullptr || CFGetTypeID(array) != CFArrayGetTypeID())
        return false;
    for (CFIndex i = 0; i < CFArrayGetCount(array); ++i) {
        CFTypeRef value = CFArrayGetValueAtIndex(array, i);
        if (value == nullptr || CFGetTypeID(value) != CFStringGetTypeID())
            return false;
        out.push_back(to_utf8(static_cast<CFStringRef>(value)));
    }
    return true;
}

OSStatus add_line(ControlRef pane, SInt16 top, SInt16 left, const std::string& text) {
    Rect bounds{};
    GetControlBounds(pane, &bounds);
    const Rect line{top, left, static_cast<SInt16>(top + kLineHeight - 2),
                    static_cast<SInt16>(bounds.right - kInset)};
    cf::Holder<CFStringRef> string = make_string(text);
    ControlRef control = nullptr;
    OSStatus status =
        CreateStaticTextControl(GetControlOwner(pane), &line, string.get(), nullptr, &control);
    if (status == noErr)
        status = EmbedControl(control, pane);
    return status;
}

} // namespace

std::vector<SummarySection> collect_summary(std::vector<LoadedPDE>& pdes,
                                            const std::vector<PanelInfo>& panels) {
    std::vector<SummarySection> sections;
    for (size_t i = 0; i < pdes.size() && i < panels.size(); ++i) {
        if (panels[i].prologStatus != noErr || (panels[i].flags & kPMPDENoSummary) != 0)
            continue;
        CFArrayRef titles = nullptr, values = nullptr;
        const OSStatus status =
            pdes[i].pde->vtable->GetSummaryText(panels[i].context, &titles, &values);
        cf::Holder<CFArrayRef> ownedTitles(titles), ownedValues(values);
        SummarySection section{panels[i].title, {}};
        std::vector<std::string> t, v;
        if (status != noErr) {
            cf::report("printdialog", "%s: GetSummaryText returned %d", panels[i].title.c_str(),
                       static_cast<int>(status));
            continue;
        }
        if (titles == nullptr && values == nullptr) {
            sections.push_back(section); // nothing to say, but the panel is there
            continue;
        }
        if (!strings_of(titles, t) || !strings_of(values, v) || t.size() != v.size()) {
            cf::report("printdialog",
                       "%s: GetSummaryText gave titles and values that do not pair up",
                       panels[i].title.c_str());
            continue;
        }
        for (size_t k = 0; k < t.size(); ++k)
            section.lines.emplace_back(t[k], v[k]);
        sections.push_back(section);
    }
    return sections;
}

OSStatus show_summary(ControlRef pane, const std::vector<SummarySection>& sections) {
    UInt16 count = 0;
    CountSubControls(pane, &count);
    for (; count > 0; --count) {
        ControlRef child = nullptr;
        if (GetIndexedSubControl(pane, count, &child) == noErr)
            DisposeControl(child);
    }
    Rect bounds{};
    GetControlBounds(pane, &bounds);
    SInt16 top = static_cast<SInt16>(bounds.top + kInset);
    const SInt16 left = static_cast<SInt16>(bounds.left + kInset);
    for (const SummarySection& section : sections) {
        OSStatus status = add_line(pane, top, left, section.panel);
        top = static_cast<SInt16>(top + kLineHeight);
        for (const auto& [title, value] : section.lines) {
            if (status == noErr)
                status =
                    add_line(pane, top, static_cast<SInt16>(left + kIndent), title + ": " + value);
            top = static_cast<SInt16>(top + kLineHeight);
        }
        if (status != noErr)
            return status;
        top = static_cast<SInt16>(top + kLineHeight / 2);
    }
    return noErr;
}

} // namespace host
