// A small owner of one Core Foundation reference, for the C++ side of
// HIToolbox: it releases what it holds when it goes or is given another.
#ifndef HITOOLBOX_SRC_CFHOLDER_H
#define HITOOLBOX_SRC_CFHOLDER_H

#include <CoreFoundation/CFBase.h>

#include <utility>

namespace hit {

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
    // Releases what is held and takes over `adopted`.
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

} // namespace hit

#endif // HITOOLBOX_SRC_CFHOLDER_H
