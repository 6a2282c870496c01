// The display, the CUPS default destination and standard input, for the command line.
#include "CommandLine.h"

#include <cups/cups.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace host {

bool has_display() {
    for (const char* name : {"WAYLAND_DISPLAY", "DISPLAY"})
        if (const char* value = std::getenv(name); value != nullptr && *value != '\0')
            return true;
    return false;
}

std::string default_cups_destination() {
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr);
    if (dest == nullptr)
        return {};
    std::string name = dest->name;
    if (dest->instance != nullptr)
        name += std::string("/") + dest->instance;
    cupsFreeDests(1, dest);
    return name;
}

namespace {

bool write_all(int fd, const char* data, size_t length) {
    while (length > 0) {
        const ssize_t put = ::write(fd, data, length);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        data += put;
        length -= static_cast<size_t>(put);
    }
    return true;
}

} // namespace

SpooledInput::~SpooledInput() {
    if (folder_.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

bool SpooledInput::read(std::string& error) {
    if (isatty(STDIN_FILENO))
        return true;
    const char* tmp = std::getenv("TMPDIR");
    std::string folder =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/printdialog-stdin.XXXXXX";
    if (mkdtemp(folder.data()) == nullptr) {
        error = folder + ": " + std::strerror(errno);
        return false;
    }
    folder_ = folder;
    const std::string path = folder + "/stdin";
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    char buffer[65536];
    size_t total = 0;
    for (;;) {
        ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            if (got < 0)
                error = std::string("standard input: ") + std::strerror(errno);
            break;
        }
        if (!write_all(fd, buffer, static_cast<size_t>(got))) {
            error = path + ": " + std::strerror(errno);
            break;
        }
        total += static_cast<size_t>(got);
    }
    if (::close(fd) != 0 && error.empty())
        error = path + ": " + std::strerror(errno);
    if (!error.empty())
        return false;
    if (total > 0)
        path_ = path;
    return true;
}

} // namespace host
