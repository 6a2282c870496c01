// The help viewer: the host's, or the default that opens pages with xdg-open.
#include <Help/PlatformHost.h>
#include <CoreFoundation/CFDiagnostics.h>

#include "HelpInternal.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace ah {
namespace {

PlatformHelpViewer gViewer = nullptr;
void* gViewerInfo = nullptr;

bool is_set(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

void print_page(const char* path, const char* anchor) {
    std::printf("%s%s%s\n", path, anchor != nullptr ? "#" : "", anchor != nullptr ? anchor : "");
    std::fflush(stdout);
}

// Starts xdg-open through a shell that puts it in the background and exits at
// once: the dialog never waits for a browser, and no child is left unreaped.
bool open_with_xdg(const std::string& url) {
    const char* argv[] = {"sh", "-c",        "xdg-open \"$1\" >/dev/null 2>&1 &",
                          "sh", url.c_str(), nullptr};
    pid_t pid = 0;
    int error = posix_spawnp(&pid, "sh", nullptr, nullptr, const_cast<char* const*>(argv), environ);
    if (error != 0) {
        cf::report("Help", "cannot start xdg-open: %s", std::strerror(error));
        return false;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return true;
}

void default_viewer(const char* path, const char* anchor, void*) {
    if ((is_set("DISPLAY") || is_set("WAYLAND_DISPLAY")) && open_with_xdg(file_url(path, anchor)))
        return;
    print_page(path, anchor);
}

} // namespace

namespace {

// Percent escapes for everything but the characters a URL path keeps as they are.
std::string escaped(const std::string& text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || std::strchr("/-._~", c) != nullptr) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    return out;
}

} // namespace

std::string file_url(const std::string& path, const char* anchor) {
    std::string url = "file://" + escaped(path);
    if (anchor != nullptr)
        url += "#" + escaped(anchor);
    return url;
}

void show_page(const std::string& path, const char* anchor) {
    (gViewer != nullptr ? gViewer : default_viewer)(path.c_str(), anchor, gViewerInfo);
}

} // namespace ah

void PlatformSetHelpViewer(PlatformHelpViewer viewer, void* info) {
    ah::gViewer = viewer;
    ah::gViewerInfo = viewer != nullptr ? info : nullptr;
}
