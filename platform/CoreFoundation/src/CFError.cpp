// Error objects: a domain, a code and a user-info dictionary.
#include <CoreFoundation/CFError.h>
#include <CoreFoundation/CFHolder.h>
#include <CoreFoundation/CFString.h>

#include "CFValueSupport.h"

struct OpaqueCFError : cf::Object {
    cf::Holder<CFStringRef> domain;
    CFIndex code = 0;
    cf::Holder<CFDictionaryRef> user_info;
};

const CFStringRef kCFErrorDomainPOSIX = CFSTR("NSPOSIXErrorDomain");
const CFStringRef kCFErrorDomainOSStatus = CFSTR("NSOSStatusErrorDomain");
const CFStringRef kCFErrorDomainMach = CFSTR("NSMachErrorDomain");
const CFStringRef kCFErrorDomainCocoa = CFSTR("NSCocoaErrorDomain");

const CFStringRef kCFErrorLocalizedDescriptionKey = CFSTR("NSLocalizedDescription");
const CFStringRef kCFErrorLocalizedFailureReasonKey = CFSTR("NSLocalizedFailureReason");
const CFStringRef kCFErrorLocalizedRecoverySuggestionKey = CFSTR("NSLocalizedRecoverySuggestion");
const CFStringRef kCFErrorDescriptionKey = CFSTR("NSDescription");
const CFStringRef kCFErrorUnderlyingErrorKey = CFSTR("NSUnderlyingError");
const CFStringRef kCFErrorURLKey = CFSTR("NSURL");
const CFStringRef kCFErrorFilePathKey = CFSTR("NSFilePath");

namespace {

// The string stored under key in the error's user info, or empty.
std::string info_text(const OpaqueCFError* error, CFStringRef key) {
    const void* value = CFDictionaryGetValue(error->user_info.get(), key);
    if (value == nullptr || CFGetTypeID(value) != CFStringGetTypeID())
        return {};
    return cf::utf8_string(static_cast<CFStringRef>(value));
}

std::string description_text(const OpaqueCFError* error) {
    std::string text = info_text(error, kCFErrorLocalizedDescriptionKey);
    if (!text.empty())
        return text;
    const std::string lead = "The operation couldn\u2019t be completed.";
    std::string reason = info_text(error, kCFErrorLocalizedFailureReasonKey);
    if (!reason.empty())
        return lead + " " + reason;
    std::string detail =
        cf::utf8_string(error->domain.get()) + " error " + std::to_string(error->code);
    std::string description = info_text(error, kCFErrorDescriptionKey);
    return lead + " (" + detail + (description.empty() ? "" : " - " + description) + ".)";
}

bool equal_errors(CFTypeRef a, CFTypeRef b) {
    auto* x = static_cast<const OpaqueCFError*>(a);
    auto* y = static_cast<const OpaqueCFError*>(b);
    return x->code == y->code && CFEqual(x->domain.get(), y->domain.get()) &&
           CFEqual(x->user_info.get(), y->user_info.get());
}

CFHashCode hash_error(CFTypeRef object) {
    auto* error = static_cast<const OpaqueCFError*>(object);
    return cf::hash_combine(CFHash(error->domain.get()), static_cast<CFHashCode>(error->code));
}

CFStringRef describe_error(CFTypeRef object) {
    auto* error = static_cast<const OpaqueCFError*>(object);
    return cf::make_cfstring("Error Domain=" + cf::utf8_string(error->domain.get()) + " Code=" +
                             std::to_string(error->code) + " \"" + description_text(error) + "\"");
}

const cf::ClassDescriptor kErrorClass = {"CFError", cf::destroy<OpaqueCFError>, equal_errors,
                                         hash_error, describe_error};

CFTypeID error_type_id() {
    static CFTypeID id = cf::register_class(&kErrorClass);
    return id;
}

} // namespace

CFTypeID CFErrorGetTypeID(void) {
    return error_type_id();
}

CFErrorRef CFErrorCreate(CFAllocatorRef allocator, CFStringRef domain, CFIndex code,
                         CFDictionaryRef userInfo) {
    if (!cf::check_type(domain, CFStringGetTypeID(), __func__))
        return nullptr;
    auto* error = cf::create<OpaqueCFError>(allocator, error_type_id());
    if (error == nullptr)
        return nullptr;
    error->domain.reset(CFStringCreateCopy(allocator, domain));
    error->code = code;
    error->user_info.reset(userInfo != nullptr
                               ? CFDictionaryCreateCopy(allocator, userInfo)
                               : CFDictionaryCreate(allocator, nullptr, nullptr, 0,
                                                    &kCFTypeDictionaryKeyCallBacks,
                                                    &kCFTypeDictionaryValueCallBacks));
    return error;
}

CFStringRef CFErrorGetDomain(CFErrorRef err) {
    return cf::check_type(err, error_type_id(), __func__) ? err->domain.get() : nullptr;
}

CFIndex CFErrorGetCode(CFErrorRef err) {
    return cf::check_type(err, error_type_id(), __func__) ? err->code : 0;
}

CFDictionaryRef CFErrorCopyUserInfo(CFErrorRef err) {
    if (!cf::check_type(err, error_type_id(), __func__))
        return nullptr;
    return static_cast<CFDictionaryRef>(CFRetain(err->user_info.get()));
}

CFStringRef CFErrorCopyDescription(CFErrorRef err) {
    if (!cf::check_type(err, error_type_id(), __func__))
        return nullptr;
    return cf::make_cfstring(description_text(err));
}

CFStringRef CFErrorCopyFailureReason(CFErrorRef err) {
    if (!cf::check_type(err, error_type_id(), __func__))
        return nullptr;
    std::string reason = info_text(err, kCFErrorLocalizedFailureReasonKey);
    return reason.empty() ? nullptr : cf::make_cfstring(reason);
}
