// A minimal owner for CF references in tests: releases on scope exit.
#ifndef COREFOUNDATION_TESTS_CFOWNED_H
#define COREFOUNDATION_TESTS_CFOWNED_H

#include <CoreFoundation/CFBase.h>

#include <string>

template <class T> class Owned {
  public:
    explicit Owned(T ref = nullptr) : ref_(ref) {}
    ~Owned() {
        if (ref_ != nullptr)
            CFRelease(ref_);
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    operator T() const { return ref_; }
    T get() const { return ref_; }

  private:
    T ref_;
};

#endif // COREFOUNDATION_TESTS_CFOWNED_H
