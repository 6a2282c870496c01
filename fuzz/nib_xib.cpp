// Interface Builder's Carbon object archives (a nib folder's objects.xib): parsed, and every
// window and menu of an archive that parses built and disposed.
#include "FuzzSupport.h"
#include "NibBuild.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    hit::nib::Document document;
    std::string error;
    if (!hit::nib::parse_xib(std::string(reinterpret_cast<const char*>(data), size), "fuzz.xib",
                             document, error)) {
        FUZZ_CHECK(error.rfind("fuzz.xib:", 0) == 0);
        return 0;
    }
    build_and_dispose_everything(document);
    return 0;
}
