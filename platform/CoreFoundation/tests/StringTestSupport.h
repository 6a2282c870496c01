// Helpers shared by the string tests: an owning holder and conversions to
// std::string for readable expectations.
#ifndef COREFOUNDATION_TESTS_STRINGTESTSUPPORT_H
#define COREFOUNDATION_TESTS_STRINGTESTSUPPORT_H

#include <CoreFoundation/CoreFoundation.h>

#include <string>
#include <vector>

namespace cftest {

// Releases what it holds; for Create/Copy results.
template <class T> class Owned {
  public:
    Owned(T ref = nullptr) : ref_(ref) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() {
        if (ref_ != nullptr)
            CFRelease(ref_);
    }
    T get() const { return ref_; }
    operator T() const { return ref_; }

  private:
    T ref_;
};

inline std::string utf8(CFStringRef str) {
    if (str == nullptr)
        return "<NULL>";
    CFIndex size = CFStringGetMaximumSizeForEncoding(CFStringGetLength(str), kCFStringEncodingUTF8);
    std::vector<char> buffer(static_cast<size_t>(size) + 1);
    if (!CFStringGetCString(str, buffer.data(), size + 1, kCFStringEncodingUTF8))
        return "<unconvertible>";
    return buffer.data();
}

inline CFStringRef make(const char* utf8_text) {
    return CFStringCreateWithCString(nullptr, utf8_text, kCFStringEncodingUTF8);
}

} // namespace cftest

#endif
