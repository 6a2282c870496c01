// The YAST control's data tags. Sizes are checked first (paramErr); a tag
// that is not offered in the asked direction is not handled, so that the
// Control Manager reports it as unsupported. References travel
// pointer-sized.
#include "TextViewsInternal.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace textviews {
namespace {

// Bytes of the range in the system encoding; the caller disposes of them.
OSStatus text_bytes(YASTControlRecord* r, TXNOffset from, TXNOffset to, Size size, void* buffer,
                    Size* actual) {
    Handle h = nullptr;
    OSStatus status = TXNGetDataEncoded(r->textObject, from, to, &h, kTXNTextData);
    if (status != noErr)
        return status;
    const Size whole = GetHandleSize(h);
    // Without a buffer the caller asks for the size; with one, what fits is copied.
    const Size n = buffer == nullptr ? whole : std::min(whole, size);
    if (buffer != nullptr && n > 0)
        std::memcpy(buffer, *h, static_cast<size_t>(n));
    *actual = n;
    DisposeHandle(h);
    return noErr;
}

OSStatus string_of(YASTControlRecord* r, TXNOffset from, TXNOffset to, Size size, void* buffer,
                   Size* actual) {
    *actual = sizeof(CFStringRef);
    if (buffer == nullptr) // a question about the size
        return noErr;
    if (size != static_cast<Size>(sizeof(CFStringRef)))
        return paramErr;
    Handle h = nullptr;
    OSStatus status = TXNGetDataEncoded(r->textObject, from, to, &h, kTXNUnicodeTextData);
    if (status != noErr)
        return status;
    CFStringRef s = CFStringCreateWithCharacters(nullptr, reinterpret_cast<const UniChar*>(*h),
                                                 GetHandleSize(h) / sizeof(UniChar));
    DisposeHandle(h);
    if (s == nullptr)
        return memFullErr;
    std::memcpy(buffer, &s, sizeof(s));
    *actual = sizeof(s);
    return noErr;
}

OSStatus set_string(YASTControlRecord* r, Size size, const void* data, TXNOffset from,
                    TXNOffset to) {
    if (size != static_cast<Size>(sizeof(CFStringRef)) || data == nullptr)
        return paramErr;
    CFStringRef s = nullptr;
    std::memcpy(&s, data, sizeof(s));
    if (s == nullptr)
        return paramErr;
    const CFIndex length = CFStringGetLength(s);
    std::u16string units(static_cast<size_t>(length), u'\0');
    CFStringGetCharacters(s, CFRangeMake(0, length), reinterpret_cast<UniChar*>(units.data()));
    return TXNSetData(r->textObject, kTXNUnicodeTextData, units.data(),
                      static_cast<ByteCount>(units.size() * sizeof(UniChar)), from, to);
}

Boolean byte_of(const void* data) {
    return *static_cast<const UInt8*>(data) != 0;
}

OSStatus set_flag_control(YASTControlRecord* r, TXNControlTag tag, Boolean value) {
    TXNControlData data{};
    data.uValue = value;
    return TXNSetTXNObjectControls(r->textObject, false, 1, &tag, &data);
}

// Tags that take one byte.
OSStatus set_flag(YASTControlRecord* r, ResType tag, Boolean value) {
    switch (tag) {
    case kYASTControlDoDrawFocusTag:
        r->drawFocusRing = value;
        update_focus_ring(r);
        return noErr;
    case kYASTControlTabsAdvanceFocusTag:
        r->tabsAdvanceFocus = value;
        return noErr;
    case kYASTControlReadOnlyTag: {
        const OSStatus status = set_flag_control(r, kTXNIOPrivilegesTag, value);
        if (status == noErr)
            r->readOnly = value;
        return status;
    }
    case kYASTControlVisibilityTag:
        r->textVisible = value;
        sync_visibility(r);
        return noErr;
    default: { // kYASTControlDrawCaretTag
        TXNTypeAttributes attribute{};
        attribute.tag = kTXNDrawCaretWhenInactiveTag;
        attribute.size = 1;
        attribute.data.dataValue = value;
        return TXNSetTypeAttributes(r->textObject, 1, &attribute, kTXNStartOffset, kTXNEndOffset);
    }
    }
}

bool is_flag(ResType tag) {
    return tag == kYASTControlDoDrawFocusTag || tag == kYASTControlTabsAdvanceFocusTag ||
           tag == kYASTControlReadOnlyTag || tag == kYASTControlVisibilityTag ||
           tag == kYASTControlDrawCaretTag;
}

template <class T> OSStatus put(const T& value, Size size, void* buffer, Size* actual) {
    *actual = sizeof(T);
    if (buffer == nullptr) // a question about the size
        return noErr;
    if (size != static_cast<Size>(sizeof(T)))
        return paramErr;
    std::memcpy(buffer, &value, sizeof(T));
    *actual = sizeof(T);
    return noErr;
}

} // namespace

OSStatus set_data(YASTControlRecord* r, ResType tag, Size size, const void* data) {
    if (size > 0 && data == nullptr)
        return paramErr;
    if (is_flag(tag))
        return size == 1 ? set_flag(r, tag, byte_of(data)) : OSStatus{paramErr};
    switch (tag) {
    case kYASTControlAllTextTag:
        return TXNSetData(r->textObject, kTXNTextData, data, static_cast<ByteCount>(size),
                          kTXNStartOffset, kTXNEndOffset);
    case kYASTControlSelectedTextTag:
        return TXNSetData(r->textObject, kTXNTextData, data, static_cast<ByteCount>(size),
                          kTXNUseCurrentSelection, kTXNUseCurrentSelection);
    case kYASTControlAllUnicodeTextTag:
        return set_string(r, size, data, kTXNStartOffset, kTXNEndOffset);
    case kYASTControlSelectedUnicodeTextTag:
        return set_string(r, size, data, kTXNUseCurrentSelection, kTXNUseCurrentSelection);
    case kYASTControlSelectionRangeTag: {
        if (size != static_cast<Size>(sizeof(YASTControlEditTextSelectionRec)))
            return paramErr;
        YASTControlEditTextSelectionRec sel{};
        std::memcpy(&sel, data, sizeof(sel));
        const OSStatus status = TXNSetSelection(r->textObject, sel.selStart, sel.selEnd);
        if (status == noErr)
            TXNShowSelection(r->textObject, kTXNShowStart);
        return status;
    }
    case kYASTControlTabSizeTag: {
        if (size != static_cast<Size>(sizeof(SInt16)))
            return paramErr;
        SInt16 width = 0;
        std::memcpy(&width, data, sizeof(width));
        const TXNControlTag control = kTXNTabSettingsTag;
        TXNControlData tab{};
        tab.tabValue = TXNTab{width, kTXNRightTab, 0};
        return TXNSetTXNObjectControls(r->textObject, false, 1, &control, &tab);
    }
    case kYASTControlFontSizeTag: {
        if (size != static_cast<Size>(sizeof(Fixed)))
            return paramErr;
        Fixed points = 0;
        std::memcpy(&points, data, sizeof(points));
        TXNTypeAttributes attribute{};
        attribute.tag = kTXNQDFontSizeAttribute;
        attribute.size = kTXNFontSizeAttributeSize;
        attribute.data.dataValue = static_cast<UInt32>(points);
        return TXNSetTypeAttributes(r->textObject, 1, &attribute, kTXNStartOffset, kTXNEndOffset);
    }
    default:
        return eventNotHandledErr;
    }
}

OSStatus get_data(YASTControlRecord* r, ResType tag, Size size, void* buffer, Size* actual) {
    switch (tag) {
    case kYASTControlAllTextTag:
        return text_bytes(r, kTXNStartOffset, kTXNEndOffset, size, buffer, actual);
    case kYASTControlSelectedTextTag: {
        TXNOffset from = 0, to = 0;
        TXNGetSelection(r->textObject, &from, &to);
        return text_bytes(r, from, to, size, buffer, actual);
    }
    case kYASTControlAllUnicodeTextTag:
        return string_of(r, kTXNStartOffset, kTXNEndOffset, size, buffer, actual);
    case kYASTControlSelectedUnicodeTextTag: {
        TXNOffset from = 0, to = 0;
        TXNGetSelection(r->textObject, &from, &to);
        return string_of(r, from, to, size, buffer, actual);
    }
    case kYASTControlSelectionRangeTag: {
        YASTControlEditTextSelectionRec sel{};
        TXNGetSelection(r->textObject, &sel.selStart, &sel.selEnd);
        return put(sel, size, buffer, actual);
    }
    case kYASTControlTabSizeTag: {
        const TXNControlTag control = kTXNTabSettingsTag;
        TXNControlData tab{};
        const OSStatus status = TXNGetTXNObjectControls(r->textObject, 1, &control, &tab);
        return status != noErr ? status : put(tab.tabValue.value, size, buffer, actual);
    }
    case kYASTControlDoDrawFocusTag:
        return put(r->drawFocusRing, size, buffer, actual);
    case kYASTControlTabsAdvanceFocusTag:
        return put(r->tabsAdvanceFocus, size, buffer, actual);
    case kYASTControlReadOnlyTag:
        return put(r->readOnly, size, buffer, actual);
    case kYASTControlTXObjectTag:
        return put(r->textObject, size, buffer, actual);
    default:
        return eventNotHandledErr;
    }
}

} // namespace textviews
