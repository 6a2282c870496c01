// A small owner of one Core Foundation reference for the toolkit's C++ code: it releases what
// it holds when it goes or is given another.
#ifndef TOOLKIT_TOOLKITCFHOLDER_H
#define TOOLKIT_TOOLKITCFHOLDER_H

#include <CoreFoundation/CFBase.h>

#include <utility>

namespace toolkit {

template <class Ref> class CFHolder {
  public:
    CFHolder() = default;
    // Takes over a reference the caller owns (a Create or Copy result).
    explicit CFHolder(Ref adopted) : ref_(adopted) {}
    CFHolder(const CFHolder&) = delete;
    CFHolder& operator=(const CFHolder&) = delete;
    CFHolder(CFHolder&& other) noexcept : ref_(std::exchange(other.ref_, nullptr)) {}
    CFHolder& operator=(CFHolder&& other) noexcept {
        reset(std::exchange(other.ref_, nullptr));
        return *this;
    }
    ~CFHolder() { reset(); }

    Ref get() const { return ref_; }
    explicit operator bool() const { return ref_ != nullptr; }
    void reset(Ref adopted = nullptr) {
        if (ref_ != nullptr)
            CFRelease(ref_);
        ref_ = adopted;
    }
    // Hands the reference to the caller.
    Ref release() { return std::exchange(ref_, nullptr); }

  private:
    Ref ref_ = nullptr;
};

} // namespace toolkit

#endif // TOOLKIT_TOOLKITCFHOLDER_H
