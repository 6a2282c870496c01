// Helpers shared by the toolkit's tests: the fixture folder and PPD files opened from it.
#ifndef TOOLKIT_TESTS_TOOLKITTESTSUPPORT_H
#define TOOLKIT_TESTS_TOOLKITTESTSUPPORT_H

#include <CoreFoundation/CoreFoundation.h>
#include <cups/ppd.h>

#include "../../platform/CoreServices/tests/TestSupport.h"

#include <filesystem>
#include <string>

namespace tktest {

using cstest::ScopedEnv;

// A fresh, empty folder named after the running test, under the build tree.
inline std::filesystem::path scratch_folder() {
    const char* build = std::getenv("ACCOUNTING_BINARY_DIR");
    std::filesystem::path base = build ? build : std::filesystem::temp_directory_path();
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    std::filesystem::path folder = base / "test-scratch" / "Toolkit" /
                                   (std::string(info->test_suite_name()) + "." + info->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return std::filesystem::canonical(folder);
}

// The machine-wide Application Support and the user's Preferences folders moved into a scratch
// folder for one test; Application Support exists, the maker folder inside it does not.
struct ScratchFolders {
    std::filesystem::path root = scratch_folder();
    std::filesystem::path support = root / "ApplicationSupport";
    std::filesystem::path prefs = root / "Preferences";
    ScopedEnv supportEnv{"CARBONRT_APPLICATION_SUPPORT_DIR", support.c_str()};
    ScopedEnv prefsEnv{"CARBONRT_PREFERENCES_DIR", prefs.c_str()};
    ScratchFolders() {
        std::filesystem::create_directories(support);
        std::filesystem::create_directories(prefs);
    }
};

inline void write_file(const std::filesystem::path& path, const std::string& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

inline std::string read_file(const std::filesystem::path& path) {
    std::string bytes;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof(buffer), file)) > 0;)
            bytes.append(buffer, n);
        std::fclose(file);
    }
    return bytes;
}

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

// text() of a string the caller owned, which is released.
inline std::string take_text(CFStringRef string) {
    std::string result = text(string);
    if (string != nullptr)
        CFRelease(string);
    return result;
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
