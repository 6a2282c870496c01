// The project's nib files: parsed, and every window and menu of a nib that parses built and
// disposed.
#include "FuzzSupport.h"
#include "NibBuild.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    hit::nib::Document document;
    std::string error;
    if (!hit::nib::parse(std::string(reinterpret_cast<const char*>(data), size), "fuzz.nib",
                         document, error)) {
        FUZZ_CHECK(error.rfind("fuzz.nib:", 0) == 0);
        return 0;
    }
    build_and_dispose_everything(document);
    return 0;
}
