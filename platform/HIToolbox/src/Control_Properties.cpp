// Control properties: blobs of any size under a (creator, tag) pair.
#include "ControlInternal.h"

#include <algorithm>
#include <cstring>

namespace {

hit::Property* find_property(OpaqueControlRef* control, OSType creator, OSType tag) {
    auto& properties = control->properties;
    auto it = std::find_if(properties.begin(), properties.end(), [&](const hit::Property& p) {
        return p.creator == creator && p.tag == tag;
    });
    return it == properties.end() ? nullptr : &*it;
}

} // namespace

OSStatus SetControlProperty(ControlRef control, OSType propertyCreator, OSType propertyTag,
                            ByteCount propertySize, const void* propertyData) {
    OpaqueControlRef* c = hit::live_control(control, __func__);
    if (c == nullptr || (propertyData == nullptr && propertySize > 0))
        return paramErr;
    const auto* bytes = static_cast<const UInt8*>(propertyData);
    std::vector<UInt8> data(bytes, bytes + propertySize);
    if (hit::Property* existing = find_property(c, propertyCreator, propertyTag))
        existing->data = std::move(data);
    else
        c->properties.push_back({propertyCreator, propertyTag, std::move(data)});
    return noErr;
}

OSStatus GetControlProperty(ControlRef control, OSType propertyCreator, OSType propertyTag,
                            ByteCount bufferSize, ByteCount* actualSize, void* propertyBuffer) {
    OpaqueControlRef* c = hit::live_control(control, __func__);
    if (c == nullptr)
        return paramErr;
    const hit::Property* property = find_property(c, propertyCreator, propertyTag);
    if (property == nullptr)
        return controlPropertyNotFoundErr;
    const auto size = static_cast<ByteCount>(property->data.size());
    if (actualSize != nullptr)
        *actualSize = size;
    if (propertyBuffer == nullptr) // only the size was asked for
        return noErr;
    if (bufferSize < size)
        return errDataSizeMismatch;
    if (size > 0)
        std::memcpy(propertyBuffer, property->data.data(), size);
    return noErr;
}

OSStatus GetControlPropertySize(ControlRef control, OSType propertyCreator, OSType propertyTag,
                                ByteCount* size) {
    OpaqueControlRef* c = hit::live_control(control, __func__);
    if (c == nullptr || size == nullptr)
        return paramErr;
    const hit::Property* property = find_property(c, propertyCreator, propertyTag);
    if (property == nullptr)
        return controlPropertyNotFoundErr;
    *size = static_cast<ByteCount>(property->data.size());
    return noErr;
}

OSStatus RemoveControlProperty(ControlRef control, OSType propertyCreator, OSType propertyTag) {
    OpaqueControlRef* c = hit::live_control(control, __func__);
    if (c == nullptr)
        return paramErr;
    auto& properties = c->properties;
    auto it = std::find_if(properties.begin(), properties.end(), [&](const hit::Property& p) {
        return p.creator == propertyCreator && p.tag == propertyTag;
    });
    if (it == properties.end())
        return controlPropertyNotFoundErr;
    properties.erase(it);
    return noErr;
}
