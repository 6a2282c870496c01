// The accounting context and the panel's globals.
#include "AccountingContext.h"

#include <CoreFoundation/CFHolder.h>
#include <cstdlib>
#include <cstring>

AccountingContext* gContext = nullptr;
SInt32 gMaxChars = 0;

AccountingContext* CreateAccountingContext(void) {
    auto* context = static_cast<AccountingContext*>(std::calloc(1, sizeof(AccountingContext)));
    if (context == nullptr)
        return nullptr;
    context->accountingSystem = kAccountingNone;
    context->accountType = kAccountTypeDefaultGroup;
    return context;
}

void CopyAccountingCode(char* store, const char* text) {
    if (text == nullptr) {
        store[0] = '\0';
        return;
    }
    StoreAccountingCode(store, text, std::strlen(text), kAccountingCodeSize - 1);
}

size_t AccountingCodeLength(const char* bytes, size_t length, size_t limit) {
    const CFStringEncoding encoding = CFStringGetSystemEncoding();
    // A character takes a few bytes at most, so a valid text is found within a few steps;
    // a text that is invalid further in is cut before its first invalid byte.
    for (size_t kept = length < limit ? length : limit; kept > 0; --kept) {
        const cf::Holder<CFStringRef> text(
            CFStringCreateWithBytes(nullptr, reinterpret_cast<const UInt8*>(bytes),
                                    static_cast<CFIndex>(kept), encoding, false));
        if (text)
            return kept;
    }
    return 0;
}

void StoreAccountingCode(char* store, const char* bytes, size_t length, size_t limit) {
    if (limit > kAccountingCodeSize - 1)
        limit = kAccountingCodeSize - 1;
    const size_t kept = AccountingCodeLength(bytes, length, limit);
    std::memmove(store, bytes, kept);
    store[kept] = '\0';
}
