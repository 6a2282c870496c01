// Helpers shared by the toolkit's tests: the fixture folder and PPD files opened from it.
#ifndef TOOLKIT_TESTS_TOOLKITTESTSUPPORT_H
#define TOOLKIT_TESTS_TOOLKITTESTSUPPORT_H

#include <CoreFoundation/CoreFoundation.h>
#include <cups/ppd.h>

#include <string>

namespace tktest {

inline std::string fixture_path(const char* name) {
    return std::string(TOOLKIT_FIXTURES_DIR) + "/" + name;
}

// The fixture bundle whose strings label the test popups; the caller releases it.
inline CFBundleRef create_fixture_bundle() {
    const std::string path = fixture_path("Toolkit.bundle");
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(path.data()), static_cast<CFIndex>(path.size()),
        true);
    CFBundleRef bundle = CFBundleCreate(nullptr, url);
    CFRelease(url);
    return bundle;
}

inline std::string text(CFStringRef string) {
    if (string == nullptr)
        return "<null>";
    char buffer[256];
    if (!CFStringGetCString(string, buffer, sizeof(buffer), kCFStringEncodingUTF8))
        return "<unconvertible>";
    return buffer;
}

// A PPD file of the fixtures, open for the life of the holder.
class OpenPPD {
  public:
    explicit OpenPPD(const char* name) : ppd_(ppdOpenFile(fixture_path(name).c_str())) {}
    ~OpenPPD() {
        if (ppd_ != nullptr)
            ppdClose(ppd_);
    }
    OpenPPD(const OpenPPD&) = delete;
    OpenPPD& operator=(const OpenPPD&) = delete;
    ppd_file_t* get() const { return ppd_; }

  private:
    ppd_file_t* ppd_;
};

} // namespace tktest

#endif
