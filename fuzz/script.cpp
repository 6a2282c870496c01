// Host scripts (--script), parsed as the script event source reads them.
#include "FuzzSupport.h"

#include "Script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    hit::script::Script script;
    std::string error;
    if (!hit::script::parse(std::string(reinterpret_cast<const char*>(data), size), "fuzz.script",
                            script, error))
        FUZZ_CHECK(error.rfind("fuzz.script:", 0) == 0);
    return 0;
}
