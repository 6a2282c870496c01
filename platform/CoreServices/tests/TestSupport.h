// Helpers shared by the CoreServices tests: a scratch folder in the build
// tree and environment variables set for one test.
#ifndef CORESERVICES_TESTS_TESTSUPPORT_H
#define CORESERVICES_TESTS_TESTSUPPORT_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace cstest {

// A fresh, empty folder named after the running test, under the build tree.
inline std::filesystem::path scratch_folder() {
    const char* build = std::getenv("ACCOUNTING_BINARY_DIR");
    std::filesystem::path base = build ? build : std::filesystem::temp_directory_path();
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    std::filesystem::path folder = base / "test-scratch" / "CoreServices" /
                                   (std::string(info->test_suite_name()) + "." + info->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return std::filesystem::canonical(folder);
}

// Sets (or, with nullptr, removes) a variable and puts it back afterwards.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_.c_str(), old_->c_str(), 1);
        else
            unsetenv(name_.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    std::optional<std::string> old_;
};

} // namespace cstest

#endif
