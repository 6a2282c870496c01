// Helpers shared by the bundle, plug-in and notice tests: the fixture
// bundles built into the build tree, scratch copies of them, and
// environment variables set for one test.
#ifndef COREFOUNDATION_TESTS_BUNDLETESTSUPPORT_H
#define COREFOUNDATION_TESTS_BUNDLETESTSUPPORT_H

#include <CoreFoundation/CoreFoundation.h>
#include <CoreFoundation/CFBundle.h>
#include <CoreFoundation/CFPlugInCOM.h>
#include <CoreFoundation/PlatformHost.h>

#include "StringTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <optional>

namespace cftest {

inline std::filesystem::path fixture(const char* name) {
    return std::filesystem::path(CF_TEST_FIXTURES) / name;
}

inline CFURLRef url_of(const std::filesystem::path& path) {
    const std::string text = path.string();
    return CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(text.data()), static_cast<CFIndex>(text.size()),
        std::filesystem::is_directory(path));
}

inline std::string path_of(CFURLRef url) {
    UInt8 buffer[PATH_MAX];
    if (url == nullptr || !CFURLGetFileSystemRepresentation(url, true, buffer, sizeof(buffer)))
        return "<no path>";
    return reinterpret_cast<char*>(buffer);
}

inline CFBundleRef create_bundle(const std::filesystem::path& path) {
    cf::Holder<CFURLRef> url(url_of(path));
    return CFBundleCreate(nullptr, url.get());
}

// A copy of a fixture bundle in a folder of its own, for tests that change it.
inline std::filesystem::path scratch_copy(const char* name) {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    std::filesystem::path folder = std::filesystem::path(CF_TEST_FIXTURES).parent_path() /
                                   "scratch" /
                                   (std::string(info->test_suite_name()) + "." + info->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::filesystem::copy(fixture(name), folder / name, std::filesystem::copy_options::recursive);
    return folder / name;
}

// Sets (or, with nullptr, removes) a variable and puts it back afterwards.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        value != nullptr ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { old_ ? setenv(name_.c_str(), old_->c_str(), 1) : unsetenv(name_.c_str()); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    std::optional<std::string> old_;
};

constexpr const char* kTestType = "5A0C8E2E-4A7B-4C2D-9E51-1D2F3A4B5C6D";
constexpr const char* kGoodFactory = "9B1D2C3E-5F60-4718-8A9B-0C1D2E3F4A5B";
constexpr const char* kMissingSymbolFactory = "E1F2A3B4-C5D6-47E8-9FA0-B1C2D3E4F5A6";
constexpr const char* kNoExecFactory = "0A1B2C3D-4E5F-4061-8273-94A5B6C7D8E9";
constexpr const char* kDynamicFactory = "3C4D5E6F-7081-4293-A4B5-C6D7E8F90A1B";

inline CFUUIDRef uuid(const char* text) {
    cf::Holder<CFStringRef> string(make(text));
    return CFUUIDCreateFromString(nullptr, string.get());
}

} // namespace cftest

#endif
