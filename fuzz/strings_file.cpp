// Localizable.strings files, as bundles read them.
#include "FuzzSupport.h"

#include "CFStringsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<cf::StringsEntry> entries;
    std::string error;
    const bool ok = cf::parse_strings_file(std::string(reinterpret_cast<const char*>(data), size),
                                           "fuzz.strings", entries, error);
    FUZZ_CHECK(ok || error.rfind("fuzz.strings:", 0) == 0); // errors name the file and line
    return 0;
}
