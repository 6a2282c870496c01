// Print sessions: session data by key, the current printer, and the generic retain/release of
// printing objects.
#include "PrintCoreInternal.h"

struct OpaquePMPrintSession : cf::Object {
    CFMutableDictionaryRef data = nullptr;
    PMPrinter printer = nullptr; // retained
    ~OpaquePMPrintSession() {
        if (data != nullptr)
            CFRelease(data);
        if (printer != nullptr)
            CFRelease(printer);
    }
};

namespace {

const cf::ClassDescriptor kSessionClass = {"PMPrintSession", cf::destroy<OpaquePMPrintSession>,
                                           nullptr, nullptr, nullptr};

CFTypeID session_type() {
    static CFTypeID id = cf::register_class(&kSessionClass);
    return id;
}

OpaquePMPrintSession* session(PMPrintSession s, const char* function) {
    return cf::check_type(s, session_type(), function) ? s : nullptr;
}

} // namespace

OSStatus PMRetain(PMObject object) {
    if (!cf::is_object(object))
        return kPMInvalidParameter;
    CFRetain(object);
    return kPMNoError;
}

OSStatus PMRelease(PMObject object) {
    if (!cf::is_object(object))
        return kPMInvalidParameter;
    CFRelease(object);
    return kPMNoError;
}

OSStatus PMCreateSession(PMPrintSession* printSession) {
    if (printSession == nullptr)
        return kPMInvalidParameter;
    auto* created = cf::create<OpaquePMPrintSession>(nullptr, session_type());
    if (created == nullptr)
        return memFullErr;
    created->data = CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks,
                                              &kCFTypeDictionaryValueCallBacks);
    *printSession = created;
    return kPMNoError;
}

OSStatus PMSessionSetDataInSession(PMPrintSession printSession, CFStringRef key, CFTypeRef data) {
    OpaquePMPrintSession* s = session(printSession, __func__);
    if (s == nullptr)
        return kPMInvalidPrintSession;
    if (key == nullptr)
        return kPMInvalidParameter;
    if (data == nullptr)
        CFDictionaryRemoveValue(s->data, key);
    else
        CFDictionarySetValue(s->data, key, data);
    return kPMNoError;
}

OSStatus PMSessionGetDataFromSession(PMPrintSession printSession, CFStringRef key,
                                     CFTypeRef* data) {
    OpaquePMPrintSession* s = session(printSession, __func__);
    if (s == nullptr)
        return kPMInvalidPrintSession;
    if (key == nullptr || data == nullptr)
        return kPMInvalidParameter;
    *data = CFDictionaryGetValue(s->data, key);
    return kPMNoError;
}

OSStatus PMSessionGetCurrentPrinter(PMPrintSession printSession, PMPrinter* currentPrinter) {
    OpaquePMPrintSession* s = session(printSession, __func__);
    if (s == nullptr)
        return kPMInvalidPrintSession;
    if (currentPrinter == nullptr)
        return kPMInvalidParameter;
    if (s->printer == nullptr)
        return kPMNoDefaultPrinter;
    *currentPrinter = s->printer;
    return kPMNoError;
}

OSStatus PMSessionSetCurrentPMPrinter(PMPrintSession session, PMPrinter printer) {
    OpaquePMPrintSession* s = ::session(session, __func__);
    if (s == nullptr)
        return kPMInvalidPrintSession;
    if (pc::printer_for(printer, __func__) == nullptr)
        return kPMInvalidPrinter;
    CFRetain(printer);
    if (s->printer != nullptr)
        CFRelease(s->printer);
    s->printer = printer;
    return kPMNoError;
}
