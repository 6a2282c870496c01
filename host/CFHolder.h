// A small owner for Core Foundation references at the host's boundary.
#ifndef HOST_CFHOLDER_H
#define HOST_CFHOLDER_H

#include <CoreFoundation/CoreFoundation.h>

#include <string>

namespace host {

template <class T> class CFHolder {
  public:
    CFHolder() = default;
    explicit CFHolder(T ref) : ref_(ref) {}
    CFHolder(const CFHolder&) = delete;
    CFHolder& operator=(const CFHolder&) = delete;
    CFHolder(CFHolder&& other) noexcept : ref_(other.release()) {}
    CFHolder& operator=(CFHolder&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~CFHolder() { reset(); }

    T get() const { return ref_; }
    explicit operator bool() const { return ref_ != nullptr; }
    T release() {
        T ref = ref_;
        ref_ = nullptr;
        return ref;
    }
    void reset(T ref = nullptr) {
        if (ref_ != nullptr)
            CFRelease(ref_);
        ref_ = ref;
    }
    T* out() {
        reset();
        return &ref_;
    }

  private:
    T ref_ = nullptr;
};

// The UTF-8 text of a string; "" for NULL.
std::string to_utf8(CFStringRef string);
// A new string from UTF-8 text.
CFHolder<CFStringRef> make_string(const std::string& text);

} // namespace host

#endif
