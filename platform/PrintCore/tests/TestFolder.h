// A fresh folder under the build tree for one test, removed with everything in it afterwards.
#ifndef PRINTCORE_TESTFOLDER_H
#define PRINTCORE_TESTFOLDER_H

#include <CoreFoundation/CoreFoundation.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class TestFolder {
  public:
    TestFolder() {
        const char* base = std::getenv("ACCOUNTING_BINARY_DIR");
        std::filesystem::path parent =
            std::filesystem::path(base != nullptr ? base : "/tmp") / "test-home" / "printcore";
        std::filesystem::create_directories(parent);
        std::string pattern = (parent / "XXXXXX").string();
        path_ = mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    }
    ~TestFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    std::string write(const std::string& name, const std::string& contents) const {
        std::ofstream(file(name), std::ios::binary) << contents;
        return file(name);
    }

  private:
    std::string path_;
};

inline std::string read_whole_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The UTF-8 text of a CF string, for comparisons and messages.
inline std::string text_of(CFStringRef string) {
    if (string == nullptr)
        return "(null)";
    char buffer[2048];
    return CFStringGetCString(string, buffer, sizeof buffer, kCFStringEncodingUTF8)
               ? buffer
               : "(unconvertible)";
}

#endif
