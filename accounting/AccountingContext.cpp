// The accounting context and the panel's globals.
#include "AccountingContext.h"

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
    size_t length = std::strlen(text);
    if (length > kAccountingCodeSize - 1)
        length = kAccountingCodeSize - 1;
    std::memmove(store, text, length);
    store[length] = '\0';
}
