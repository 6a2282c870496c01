// Gestalt: the system version selectors, answered from a configurable version.
#include <CoreServices/Gestalt.h>
#include <CoreServices/PlatformHost.h>
#include <CoreFoundation/CFDiagnostics.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace cs {
namespace {

struct Version {
    int major = 10;
    int minor = 6;
    int bugfix = 8;
};

constexpr Version kDefaultVersion{};

Version gOverride{};
bool gHasOverride = false;

// "10.4.11", "10.5" or "11": one to three dot-separated numbers, nothing else.
bool parse_version(const std::string& text, Version& out) {
    int parts[3] = {0, 0, 0};
    size_t count = 0;
    size_t start = 0;
    for (;;) {
        size_t dot = text.find('.', start);
        std::string piece = text.substr(start, dot == std::string::npos ? dot : dot - start);
        if (count == 3 || piece.empty() || piece.size() > 3 ||
            piece.find_first_not_of("0123456789") != std::string::npos)
            return false;
        parts[count++] = std::stoi(piece);
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }
    if (parts[0] == 0)
        return false;
    out = {parts[0], parts[1], parts[2]};
    return true;
}

// The environment is read on each call so that a test or host can change it,
// but a bad value is reported only once (per distinct value).
Version version_from_environment() {
    static auto* last_bad = new std::string;
    const char* text = std::getenv("CARBONRT_SYSTEM_VERSION");
    if (text == nullptr || *text == '\0')
        return kDefaultVersion;
    Version version;
    if (parse_version(text, version))
        return version;
    if (*last_bad != text) {
        *last_bad = text;
        cf::report("Gestalt",
                   "CARBONRT_SYSTEM_VERSION \"%s\" is not a version like 10.4.11; reporting 10.6.8",
                   text);
    }
    return kDefaultVersion;
}

Version current_version() {
    return gHasOverride ? gOverride : version_from_environment();
}

// Binary-coded decimal as the "sysv" selector gives it: numbers past one digit
// read as 10.9.x, with the bug-fix digit capped at 9.
SInt32 bcd_version(const Version& v) {
    int major = v.major;
    int minor = v.minor;
    int bugfix = v.bugfix > 9 ? 9 : v.bugfix;
    if (major > 10 || minor > 9) {
        major = 10;
        minor = 9;
    }
    return ((major / 10) << 12) | ((major % 10) << 8) | (minor << 4) | bugfix;
}

} // namespace
} // namespace cs

OSErr Gestalt(OSType selector, SInt32* response) {
    if (response == nullptr)
        return paramErr;
    const cs::Version v = cs::current_version();
    switch (selector) {
    case gestaltSystemVersion:
        *response = cs::bcd_version(v);
        return noErr;
    case gestaltSystemVersionMajor:
        *response = v.major;
        return noErr;
    case gestaltSystemVersionMinor:
        *response = v.minor;
        return noErr;
    case gestaltSystemVersionBugFix:
        *response = v.bugfix;
        return noErr;
    default:
        return gestaltUndefSelectorErr;
    }
}

void PlatformSetSystemVersion(int major, int minor, int bugfix) {
    cs::gHasOverride = major > 0;
    cs::gOverride = {major, minor < 0 ? 0 : minor, bugfix < 0 ? 0 : bugfix};
}
