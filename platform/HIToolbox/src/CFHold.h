// A small owner of one CF reference, released when it goes out of scope, and
// UTF-8 to CFString in one call. For the C++ code inside HIToolbox.
#ifndef HITOOLBOX_SRC_CFHOLD_H
#define HITOOLBOX_SRC_CFHOLD_H

#include <CoreFoundation/CFString.h>

#include <string_view>
#include <utility>

namespace hit {

template <class Ref> class CFHold {
  public:
    CFHold() = default;
    explicit CFHold(Ref ref) : ref_(ref) {} // takes over one reference
    CFHold(const CFHold&) = delete;
    CFHold& operator=(const CFHold&) = delete;
    CFHold(CFHold&& other) noexcept : ref_(std::exchange(other.ref_, nullptr)) {}
    CFHold& operator=(CFHold&& other) noexcept {
        reset(std::exchange(other.ref_, nullptr));
        return *this;
    }
    ~CFHold() { reset(); }

    Ref get() const { return ref_; }
    explicit operator bool() const { return ref_ != nullptr; }
    void reset(Ref ref = nullptr) {
        if (ref_ != nullptr)
            CFRelease(ref_);
        ref_ = ref;
    }
    // For out-parameters of the Create/Copy calls.
    Ref* out() {
        reset();
        return &ref_;
    }

  private:
    Ref ref_ = nullptr;
};

// A new CFString of UTF-8 text; nullptr only when the text is not UTF-8.
inline CFHold<CFStringRef> make_cfstring(std::string_view utf8_text) {
    return CFHold<CFStringRef>(CFStringCreateWithBytes(
        nullptr, reinterpret_cast<const UInt8*>(utf8_text.data()),
        static_cast<CFIndex>(utf8_text.size()), kCFStringEncodingUTF8, false));
}

} // namespace hit

#endif // HITOOLBOX_SRC_CFHOLD_H
