// Print sessions: session data by key, the current printer, and the generic retain/release of
// printing objects.
#include "PrintCoreInternal.h"

struct OpaquePMPrintSession : cf::Object {
    cf::Holder<CFMutableDictionaryRef> data;
    cf::Holder<PMPrinter> printer;
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
    created->data.reset(CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks,
                                                  &kCFTypeDictionaryValueCallBacks));
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
        CFDictionaryRemoveValue(s->data.get(), key);
    else
        CFDictionarySetValue(s->data.get(), key, data);
    return kPMNoError;
}

OSStatus PMSessionGetDataFromSession(PMPrintSession printSession, CFStringRef key,
                                     CFTypeRef* data) {
    OpaquePMPrintSession* s = session(printSession, __func__);
    if (s == nullptr)
        return kPMInvalidPrintSession;
    if (key == nullptr || data == nullptr)
        return kPMInvalidParameter;
    *data = CFDictionaryGetValue(s->data.get(), key);
    return kPMNoError;
}

OSStatus PMSessionGetCurrentPrinter(PMPrintSession printSession, PMPrinter* currentPrinter) {
    OpaquePMPrintSession* s = session(printSession, __func__);
    if (s == nullptr)
        return kPMInvalidPrintSession;
    if (currentPrinter == nullptr)
        return kPMInvalidParameter;
    if (!s->printer)
        return kPMNoDefaultPrinter;
    *currentPrinter = s->printer.get();
    return kPMNoError;
}

OSStatus PMSessionSetCurrentPMPrinter(PMPrintSession session, PMPrinter printer) {
    OpaquePMPrintSession* s = ::session(session, __func__);
    if (s == nullptr)
        return kPMInvalidPrintSession;
    if (pc::printer_for(printer, __func__) == nullptr)
        return kPMInvalidPrinter;
    s->printer = cf::Holder<PMPrinter>::retaining(printer);
    return kPMNoError;
}
