// Shared pieces of the fuzz targets: a scratch file for the parsers that read a path rather
// than bytes, typed input, and checks. CF references are held in cf::Holder.
#ifndef FUZZ_FUZZSUPPORT_H
#define FUZZ_FUZZSUPPORT_H

#include <CoreFoundation/CFHolder.h>
#include <CoreFoundation/CoreFoundation.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace fuzz {

// A file of this process's own under the temporary folder, rewritten for every input.
class ScratchFile {
  public:
    explicit ScratchFile(const char* suffix) {
        const char* folder = std::getenv("TMPDIR");
        path_ = std::string(folder != nullptr ? folder : "/tmp") + "/fuzz-" +
                std::to_string(getpid()) + "-" + suffix;
    }
    ~ScratchFile() { unlink(path_.c_str()); }
    // The path, now holding exactly these bytes.
    const char* write(const uint8_t* data, size_t size) {
        FILE* out = std::fopen(path_.c_str(), "wb");
        if (out == nullptr)
            std::abort(); // the temporary folder is not writable: nothing can be fuzzed
        if (size > 0)
            std::fwrite(data, 1, size, out);
        std::fclose(out);
        return path_.c_str();
    }
    const char* path() const { return path_.c_str(); }

  private:
    std::string path_;
};

// Takes typed values off the front of an input; an exhausted input gives zeros and empty texts,
// so that every input is a valid sequence of choices.
class Input {
  public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    size_t remaining() const { return size_; }
    template <class T> T take() {
        T value{};
        size_t n = sizeof(T) < size_ ? sizeof(T) : size_;
        std::memcpy(&value, data_, n);
        data_ += n, size_ -= n;
        return value;
    }
    bool take_bool() { return take<uint8_t>() & 1; }
    // A number from low to high, both included.
    long take_in(long low, long high) {
        const unsigned long span = static_cast<unsigned long>(high - low) + 1;
        return low + static_cast<long>(take<uint32_t>() % span);
    }
    template <class T, size_t N> const T& pick(const T (&values)[N]) {
        return values[take_in(0, static_cast<long>(N) - 1)];
    }
    // Up to `max` bytes, ended early by a zero byte (which is dropped).
    std::string take_text(size_t max) {
        std::string text;
        while (size_ > 0 && text.size() < max) {
            const char c = static_cast<char>(*data_++);
            --size_;
            if (c == '\0')
                break;
            text.push_back(c);
        }
        return text;
    }
    std::vector<uint8_t> rest() {
        std::vector<uint8_t> bytes(data_, data_ + size_);
        data_ += size_, size_ = 0;
        return bytes;
    }

  private:
    const uint8_t* data_;
    size_t size_;
};

// A failed check of a target's own: a crash libFuzzer records with its input.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

} // namespace fuzz

#endif // FUZZ_FUZZSUPPORT_H
