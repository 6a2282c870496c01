/*
 * CFHolder.h: cf::Holder, the one owner of a Core Foundation reference for the C++ code of the
 * project: the frameworks, the toolkit and the bundles, the host, the tests and the fuzz targets.
 * It is a public header of CoreFoundation (installed with it) rather than an internal one because
 * the bundle's toolkit and the host may use only what the runtime installs; it needs nothing but
 * CFRetain and CFRelease. C++ only; not part of the umbrella header.
 *
 * A holder releases what it holds when it goes or is given another reference. It adopts the
 * reference it is built with (a Create or Copy result); cf::Holder<T>::retaining takes a
 * reference the caller does not own (a Get result) and retains it.
 */
#ifndef COREFOUNDATION_CFHOLDER_H
#define COREFOUNDATION_CFHOLDER_H

#include <CoreFoundation/CFBase.h>

#ifdef __cplusplus
#include <utility>

namespace cf {

template <class Ref> class Holder {
  public:
    Holder() = default;
    /* Takes over a reference the caller owns; NULL holds nothing. */
    explicit Holder(Ref adopted) : ref_(adopted) {}
    /* A holder of its own reference to `borrowed` (retained; NULL holds nothing). */
    static Holder retaining(Ref borrowed) {
        if (borrowed != nullptr)
            CFRetain(borrowed);
        return Holder(borrowed);
    }
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;
    Holder(Holder&& other) noexcept : ref_(std::exchange(other.ref_, nullptr)) {}
    Holder& operator=(Holder&& other) noexcept {
        reset(std::exchange(other.ref_, nullptr));
        return *this;
    }
    ~Holder() { reset(); }

    Ref get() const { return ref_; }
    explicit operator bool() const { return ref_ != nullptr; }
    /* Releases what is held and takes over `adopted`. */
    void reset(Ref adopted = nullptr) {
        Ref old = std::exchange(ref_, adopted);
        if (old != nullptr)
            CFRelease(old);
    }
    /* Hands the reference to the caller, who now releases it. */
    Ref release() { return std::exchange(ref_, nullptr); }

  private:
    Ref ref_ = nullptr;
};

} // namespace cf

#endif /* __cplusplus */

#endif /* COREFOUNDATION_CFHOLDER_H */
