// Shared by the nib targets: every window and menu of a parsed nib document built and disposed,
// so that the builders meet whatever the parsers let through.
#ifndef FUZZ_NIBBUILD_H
#define FUZZ_NIBBUILD_H

#include "NibInternal.h"

#include <Carbon/Carbon.h>

#include <string>

inline void build_and_dispose_everything(const hit::nib::Document& document) {
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
}

#endif
