// Interface Builder's Carbon object archives (a nib folder's objects.xib): parsed, and every
// window of an archive that parses built and disposed, as for the project's own nibs.
#include "FuzzSupport.h"

#include "NibInternal.h"

#include <Carbon/Carbon.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    hit::nib::Document document;
    std::string error;
    if (!hit::nib::parse_xib(std::string(reinterpret_cast<const char*>(data), size), "fuzz.xib",
                             document, error)) {
        FUZZ_CHECK(error.rfind("fuzz.xib:", 0) == 0);
        return 0;
    }
    for (const hit::nib::WindowNode& node : document.windows) {
        WindowRef window = nullptr;
        std::string why;
        if (hit::nib::build_window(document, node, &window, why) == noErr)
            DisposeWindow(window);
    }
    for (const hit::nib::MenuNode& node : document.menus) {
        hit::nib::BuildContext context{document, {}};
        MenuRef menu = nullptr;
        if (hit::nib::build_menu(node, context, &menu) == noErr)
            ReleaseMenu(menu);
    }
    return 0;
}
