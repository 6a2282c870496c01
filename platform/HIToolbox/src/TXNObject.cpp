// The text engine's public calls on an object: making and deleting it, its
// frame, background, controls and type attributes, its text and selection.
#include "TXNInternal.h"
#include "Port.h"
#include "TextInternal.h"
#include "WindowInternal.h"

#include <CoreServices/MacMemory.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace hit::txn {
namespace {

void finalize(CFTypeRef object) {
    auto* o = static_cast<OpaqueTXNObject*>(const_cast<void*>(object));
    for (Paragraph& p : o->paragraphs)
        drop_layout(p);
    cf::destroy<OpaqueTXNObject>(object);
}

const cf::ClassDescriptor kClass = {"TXNObject", finalize, nullptr, nullptr, nullptr};

Rect rect_of(const HIRect& r) {
    return Rect{static_cast<short>(std::lround(r.origin.y)),
                static_cast<short>(std::lround(r.origin.x)),
                static_cast<short>(std::lround(r.origin.y + r.size.height)),
                static_cast<short>(std::lround(r.origin.x + r.size.width))};
}

Colour16 colour_of(const RGBColor& c) {
    return Colour16{c.red / 65535.0, c.green / 65535.0, c.blue / 65535.0};
}

// The text changed shape: every layout is stale.
void relayout(OpaqueTXNObject* o) {
    drop_layouts(o);
    clamp_scroll(o);
    redraw(o);
}

OSStatus set_control(OpaqueTXNObject* o, TXNControlTag tag, const TXNControlData& data) {
    switch (tag) {
    case kTXNIOPrivilegesTag:
    case kTXNNoUserIOTag:
        o->read_only = data.uValue != 0;
        return noErr;
    case kTXNVisibilityTag:
        o->visible = data.uValue != 0;
        redraw(o);
        return noErr;
    case kTXNMarginsTag:
        if (data.marginsPtr == nullptr)
            return paramErr;
        o->margins = *data.marginsPtr;
        relayout(o);
        return noErr;
    case kTXNTabSettingsTag:
        o->tab_width = data.tabValue.value;
        relayout(o);
        return noErr;
    case kTXNWordWrapStateTag:
        o->wrap = data.uValue == kTXNAutoWrap;
        relayout(o);
        return noErr;
    case kTXNDrawCaretWhenInactiveTag:
        o->caret_when_inactive = data.uValue != 0;
        redraw(o);
        return noErr;
    case kTXNDrawSelectionWhenInactiveTag:
        o->selection_when_inactive = data.uValue != 0;
        redraw(o);
        return noErr;
    default:
        return kTXNAttributeTagInvalidForRunErr;
    }
}

OSStatus get_control(const OpaqueTXNObject* o, TXNControlTag tag, TXNControlData* data) {
    switch (tag) {
    case kTXNIOPrivilegesTag:
    case kTXNNoUserIOTag:
        data->uValue = o->read_only;
        return noErr;
    case kTXNVisibilityTag:
        data->uValue = o->visible;
        return noErr;
    case kTXNMarginsTag:
        if (data->marginsPtr == nullptr)
            return paramErr;
        *data->marginsPtr = o->margins;
        return noErr;
    case kTXNTabSettingsTag:
        data->tabValue = TXNTab{o->tab_width, kTXNRightTab, 0};
        return noErr;
    case kTXNWordWrapStateTag:
        data->uValue = o->wrap ? kTXNAutoWrap : kTXNNoAutoWrap;
        return noErr;
    case kTXNDrawCaretWhenInactiveTag:
        data->uValue = o->caret_when_inactive;
        return noErr;
    case kTXNDrawSelectionWhenInactiveTag:
        data->uValue = o->selection_when_inactive;
        return noErr;
    default:
        return kTXNAttributeTagInvalidForRunErr;
    }
}

void restore_defaults(OpaqueTXNObject* o) {
    o->read_only = (o->options & kTXNReadOnlyMask) != 0;
    o->visible = true;
    o->margins = TXNMargins{0, 0, 0, 0};
    o->tab_width = 0;
    o->wrap = true;
    o->caret_when_inactive = false;
    o->selection_when_inactive = (o->options & kTXNDontDrawSelectionWhenInactiveMask) == 0;
}

OSStatus set_attribute(OpaqueTXNObject* o, const TXNTypeAttributes& a) {
    switch (a.tag) {
    case kTXNQDFontSizeAttribute: {
        if (a.size != kTXNFontSizeAttributeSize)
            return paramErr;
        const double points = static_cast<Fixed>(a.data.dataValue) / 65536.0;
        if (points <= 0 || points > 1000)
            return paramErr;
        o->font_pixels = points;
        relayout(o);
        return noErr;
    }
    case kTXNQDFontColorAttribute:
        if (a.size != kTXNQDFontColorAttributeSize || a.data.dataPtr == nullptr)
            return paramErr;
        o->text_colour = colour_of(*static_cast<const RGBColor*>(a.data.dataPtr));
        redraw(o);
        return noErr;
    case kTXNDrawCaretWhenInactiveTag:
        // A one-byte switch: the caret (and selection) also show while the
        // object does not have the focus.
        if (a.size != 1)
            return paramErr;
        o->caret_when_inactive = (a.data.dataValue & 0xFF) != 0;
        redraw(o);
        return noErr;
    default:
        return kTXNSomeOrAllTagsInvalidForRunErr;
    }
}

// A handle with the bytes; memFullErr when there is no memory.
OSStatus make_handle(const void* bytes, size_t size, Handle* out) {
    Handle h = NewHandle(static_cast<Size>(size));
    if (h == nullptr)
        return memFullErr;
    if (size > 0)
        std::memcpy(*h, bytes, size);
    *out = h;
    return noErr;
}

} // namespace

CFTypeID type_id() {
    static CFTypeID id = cf::register_class(&kClass);
    return id;
}

OpaqueTXNObject* object(TXNObject o, const char* function) {
    if (o == nullptr || !cf::check_type(o, type_id(), function))
        return nullptr;
    return static_cast<OpaqueTXNObject*>(o);
}

} // namespace hit::txn

using namespace hit::txn;

OSStatus TXNCreateObject(const HIRect* iFrameRect, TXNFrameOptions iFrameOptions,
                         TXNObject* oTXNObject) {
    if (iFrameRect == nullptr || oTXNObject == nullptr)
        return paramErr;
    auto* o = cf::create<OpaqueTXNObject>(nullptr, type_id());
    if (o == nullptr)
        return memFullErr;
    o->frame = rect_of(*iFrameRect);
    o->options = iFrameOptions;
    restore_defaults(o);
    *oTXNObject = o;
    return noErr;
}

OSStatus TXNAttachObjectToWindowRef(TXNObject iTXNObject, WindowRef iWindowRef) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    if (o == nullptr)
        return paramErr;
    if (hit::live_window(iWindowRef, __func__) == nullptr)
        return errInvalidWindowRef;
    detach(o);
    o->window = iWindowRef;
    remember_attached(o);
    install_window_handler(o);
    return noErr;
}

void TXNDeleteObject(TXNObject iTXNObject) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    if (o == nullptr)
        return;
    detach(o);
    CFRelease(o);
}

void TXNSetFrameBounds(TXNObject iTXNObject, SInt32 iTop, SInt32 iLeft, SInt32 iBottom,
                       SInt32 iRight, TXNFrameID) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    if (o == nullptr)
        return;
    const Rect r{static_cast<short>(iTop), static_cast<short>(iLeft),
                 static_cast<short>(std::max(iTop, iBottom)),
                 static_cast<short>(std::max(iLeft, iRight))};
    const bool width_changed = r.right - r.left != o->frame.right - o->frame.left;
    o->frame = r;
    if (width_changed)
        drop_layouts(o);
    clamp_scroll(o);
}

void TXNGetViewRect(TXNObject iTXNObject, Rect* oViewRect) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    if (o != nullptr && oViewRect != nullptr)
        *oViewRect = o->frame;
}

OSStatus TXNSetBackground(TXNObject iTXNObject, const TXNBackground* iBackgroundInfo) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    if (o == nullptr || iBackgroundInfo == nullptr ||
        iBackgroundInfo->bgType != kTXNBackgroundTypeRGB)
        return paramErr;
    o->background = colour_of(iBackgroundInfo->bg.color);
    redraw(o);
    return noErr;
}

OSStatus TXNSetTXNObjectControls(TXNObject iTXNObject, Boolean iClearAll, ItemCount iControlCount,
                                 const TXNControlTag iControlTags[],
                                 const TXNControlData iControlData[]) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    if (o == nullptr || (iControlCount > 0 && (iControlTags == nullptr || iControlData == nullptr)))
        return paramErr;
    if (iClearAll) {
        restore_defaults(o);
        relayout(o);
    }
    for (ItemCount i = 0; i < iControlCount; ++i)
        if (OSStatus status = set_control(o, iControlTags[i], iControlData[i]); status != noErr)
            return status;
    return noErr;
}

OSStatus TXNGetTXNObjectControls(TXNObject iTXNObject, ItemCount iControlCount,
                                 const TXNControlTag iControlTags[],
                                 TXNControlData oControlData[]) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    if (o == nullptr || (iControlCount > 0 && (iControlTags == nullptr || oControlData == nullptr)))
        return paramErr;
    for (ItemCount i = 0; i < iControlCount; ++i)
        if (OSStatus status = get_control(o, iControlTags[i], &oControlData[i]); status != noErr)
            return status;
    return noErr;
}

OSStatus TXNSetTypeAttributes(TXNObject iTXNObject, ItemCount iAttrCount,
                              const TXNTypeAttributes iAttributes[], TXNOffset, TXNOffset) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    if (o == nullptr || (iAttrCount > 0 && iAttributes == nullptr))
        return paramErr;
    for (ItemCount i = 0; i < iAttrCount; ++i)
        if (OSStatus status = set_attribute(o, iAttributes[i]); status != noErr)
            return status;
    return noErr;
}

OSStatus TXNSetData(TXNObject iTXNObject, TXNDataType iDataType, const void* iDataPtr,
                    ByteCount iDataSize, TXNOffset iStartOffset, TXNOffset iEndOffset) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    if (o == nullptr || (iDataSize > 0 && iDataPtr == nullptr))
        return paramErr;
    std::u16string units;
    if (iDataType == kTXNUnicodeTextData) {
        if (iDataSize % sizeof(char16_t) != 0)
            return paramErr;
        units.resize(iDataSize / sizeof(char16_t));
        if (iDataSize > 0)
            std::memcpy(units.data(), iDataPtr, iDataSize);
    } else if (iDataType == kTXNTextData) {
        if (OSStatus status =
                hit::set_from_system_bytes(static_cast<Size>(iDataSize), iDataPtr, units);
            status != noErr)
            return status;
    } else {
        return kTXNDataTypeNotAllowedErr;
    }
    size_t from = o->sel_start, to = o->sel_end;
    if (iStartOffset != kTXNUseCurrentSelection) {
        from = clamp(o, iStartOffset);
        to = std::max(from, clamp(o, iEndOffset));
    }
    replace(o, from, to, units);
    o->undo.clear();
    o->redo.clear();
    o->typing_open = false;
    clamp_scroll(o);
    redraw(o);
    return noErr;
}

OSStatus TXNGetData(TXNObject iTXNObject, TXNOffset iStartOffset, TXNOffset iEndOffset,
                    Handle* oDataHandle) {
    return TXNGetDataEncoded(iTXNObject, iStartOffset, iEndOffset, oDataHandle,
                             kTXNUnicodeTextData);
}

OSStatus TXNGetDataEncoded(TXNObject iTXNObject, TXNOffset iStartOffset, TXNOffset iEndOffset,
                           Handle* oDataHandle, TXNDataType iEncoding) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    if (o == nullptr || oDataHandle == nullptr)
        return paramErr;
    const size_t from = clamp(o, iStartOffset);
    const size_t to = std::max(from, clamp(o, iEndOffset));
    const std::u16string units = text_range(o, from, to);
    if (iEncoding == kTXNUnicodeTextData)
        return make_handle(units.data(), units.size() * sizeof(char16_t), oDataHandle);
    if (iEncoding != kTXNTextData)
        return kTXNDataTypeNotAllowedErr;
    Size size = 0;
    hit::get_system_bytes(units, 0, nullptr, &size);
    std::string bytes(static_cast<size_t>(size), '\0');
    hit::get_system_bytes(units, size, bytes.data(), &size);
    return make_handle(bytes.data(), bytes.size(), oDataHandle);
}

ByteCount TXNDataSize(TXNObject iTXNObject) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    return o == nullptr ? 0 : static_cast<ByteCount>(o->length * sizeof(char16_t));
}

void TXNGetSelection(TXNObject iTXNObject, TXNOffset* oStartOffset, TXNOffset* oEndOffset) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    if (o == nullptr)
        return;
    if (oStartOffset != nullptr)
        *oStartOffset = static_cast<TXNOffset>(o->sel_start);
    if (oEndOffset != nullptr)
        *oEndOffset = static_cast<TXNOffset>(o->sel_end);
}

OSStatus TXNSetSelection(TXNObject iTXNObject, TXNOffset iStartOffset, TXNOffset iEndOffset) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    if (o == nullptr)
        return paramErr;
    select(o, clamp(o, iStartOffset), clamp(o, iEndOffset));
    redraw(o);
    return noErr;
}

void TXNSelectAll(TXNObject iTXNObject) {
    TXNSetSelection(iTXNObject, kTXNStartOffset, kTXNEndOffset);
}

Boolean TXNIsSelectionEmpty(TXNObject iTXNObject) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    return o == nullptr || o->sel_start == o->sel_end;
}

void TXNShowSelection(TXNObject iTXNObject, Boolean iShowEnd) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    if (o == nullptr)
        return;
    scroll_to(o, iShowEnd ? o->sel_end : o->sel_start);
    redraw(o);
}

OSStatus TXNDrawObject(TXNObject iTXNObject, const HIRect* iClipRect, TXNDrawItems iDrawItems) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    if (o == nullptr)
        return paramErr;
    if (o->window == nullptr)
        return errInvalidWindowRef;
    cairo_t* cr = hit::port_create_context(GetWindowPort(o->window));
    if (cr == nullptr)
        return errInvalidWindowRef;
    if (iClipRect != nullptr) {
        cairo_rectangle(cr, iClipRect->origin.x, iClipRect->origin.y, iClipRect->size.width,
                        iClipRect->size.height);
        cairo_clip(cr);
    }
    draw(o, cr, iDrawItems);
    cairo_destroy(cr);
    return noErr;
}
