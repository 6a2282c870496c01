// Picture formats and decoding: gdk-pixbuf (loaded on the first decode) reads
// the file's bytes, and the first image is copied into a premultiplied cairo
// surface.
#include "Picture.h"

#include "PixbufLibrary.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>
#include <mutex>

namespace qt {
namespace {

const Format kFormats[] = {
    {"gif", "com.compuserve.gif", "gif"},    {"png", "public.png", "png"},
    {"jpeg", "public.jpeg", "jpg jpeg jpe"}, {"tiff", "public.tiff", "tif tiff"},
    {"bmp", "com.microsoft.bmp", "bmp"},
};

bool has_word(const char* words, const std::string& word) {
    const size_t n = word.size();
    for (const char* p = words; *p != '\0';) {
        const char* end = std::strchr(p, ' ');
        const size_t length = end != nullptr ? static_cast<size_t>(end - p) : std::strlen(p);
        if (length == n && word.compare(0, n, p, n) == 0)
            return true;
        p += length + (end != nullptr ? 1 : 0);
    }
    return false;
}

uint8_t premultiply(uint8_t component, uint8_t alpha) {
    return static_cast<uint8_t>((component * alpha + 127) / 255);
}

// Copies a pixbuf (RGB or RGBA, 8 bits) into a new ARGB32 surface.
cairo_surface_t* surface_from_pixbuf(const PixbufLibrary& lib, const GdkPixbuf* pixbuf) {
    const int width = lib.get_width(pixbuf);
    const int height = lib.get_height(pixbuf);
    const int channels = lib.get_n_channels(pixbuf);
    const int stride = lib.get_rowstride(pixbuf);
    const bool alpha = lib.get_has_alpha(pixbuf);
    const guint8* pixels = lib.read_pixels(pixbuf);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    cairo_surface_flush(surface);
    unsigned char* out = cairo_image_surface_get_data(surface);
    const int out_stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y) {
        const guint8* in = pixels + static_cast<ptrdiff_t>(y) * stride;
        auto* row = reinterpret_cast<uint32_t*>(out + static_cast<ptrdiff_t>(y) * out_stride);
        for (int x = 0; x < width; ++x, in += channels) {
            const uint8_t a = alpha ? in[3] : 0xFF;
            row[x] = uint32_t{a} << 24 | uint32_t{premultiply(in[0], a)} << 16 |
                     uint32_t{premultiply(in[1], a)} << 8 | premultiply(in[2], a);
        }
    }
    cairo_surface_mark_dirty(surface);
    return surface;
}

// What a loader's failure means for the caller.
DecodeResult result_for_error(const PixbufLibrary& lib, const GError* error) {
    if (error != nullptr && error->domain == lib.error_quark() &&
        error->code == GDK_PIXBUF_ERROR_UNKNOWN_TYPE)
        return DecodeResult::unknown_type;
    return DecodeResult::invalid_data;
}

GdkPixbufLoader* new_loader(const PixbufLibrary& lib, const Format* expected, GError** error) {
    return expected != nullptr ? lib.loader_new_with_type(expected->loader, error)
                               : lib.loader_new();
}

// The loader's format, when it is one of ours.
const Format* loader_format(const PixbufLibrary& lib, GdkPixbufLoader* loader) {
    GdkPixbufFormat* format = lib.loader_get_format(loader);
    if (format == nullptr)
        return nullptr;
    gchar* name = lib.format_get_name(format);
    const Format* ours = format_for_loader(name);
    g_free(name);
    return ours;
}

} // namespace

const Format* format_for_name(const std::string& file_name) {
    const size_t dot = file_name.rfind('.');
    if (dot == std::string::npos || dot + 1 == file_name.size())
        return nullptr;
    std::string extension = file_name.substr(dot + 1);
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const Format& format : kFormats)
        if (has_word(format.extensions, extension))
            return &format;
    return nullptr;
}

const Format* format_for_loader(const char* loader) {
    if (loader == nullptr)
        return nullptr;
    for (const Format& format : kFormats)
        if (std::strcmp(format.loader, loader) == 0)
            return &format;
    return nullptr;
}

namespace {

// Pictures decoded lately, by their files' bytes: a panel opened again draws the same picture
// without decoding it again. The surfaces are only ever read, so one is shared by every holder.
struct DecodedPicture {
    std::vector<uint8_t> bytes;
    const Format* expected;
    const Format* format;
    cairo_surface_t* surface; // one reference held here
};
constexpr size_t kRememberedPictures = 16;

std::mutex& decoded_lock() {
    static auto* lock = new std::mutex;
    return *lock;
}

std::deque<DecodedPicture>& decoded_pictures() {
    static auto* pictures = new std::deque<DecodedPicture>;
    return *pictures;
}

bool recall(const std::vector<uint8_t>& bytes, const Format* expected, Decoded& decoded) {
    std::lock_guard<std::mutex> guard(decoded_lock());
    for (const DecodedPicture& picture : decoded_pictures())
        if (picture.expected == expected && picture.bytes == bytes) {
            decoded.result = DecodeResult::ok;
            decoded.format = picture.format;
            decoded.surface = cairo_surface_reference(picture.surface);
            return true;
        }
    return false;
}

void remember(const std::vector<uint8_t>& bytes, const Format* expected, const Decoded& decoded) {
    std::lock_guard<std::mutex> guard(decoded_lock());
    std::deque<DecodedPicture>& pictures = decoded_pictures();
    if (pictures.size() == kRememberedPictures) {
        cairo_surface_destroy(pictures.front().surface);
        pictures.pop_front();
    }
    pictures.push_back(
        DecodedPicture{bytes, expected, decoded.format, cairo_surface_reference(decoded.surface)});
}

Decoded decode_anew(const std::vector<uint8_t>& bytes, const Format* expected);

} // namespace

Decoded decode_picture(const std::vector<uint8_t>& bytes, const Format* expected) {
    Decoded decoded;
    if (recall(bytes, expected, decoded))
        return decoded;
    decoded = decode_anew(bytes, expected);
    if (decoded.result == DecodeResult::ok)
        remember(bytes, expected, decoded);
    return decoded;
}

namespace {

Decoded decode_anew(const std::vector<uint8_t>& bytes, const Format* expected) {
    Decoded decoded;
    const char* why = nullptr;
    const PixbufLibrary* library = pixbuf_library(&why);
    if (library == nullptr) {
        decoded.error = why;
        return decoded;
    }
    const PixbufLibrary& lib = *library;
    GError* error = nullptr;
    GdkPixbufLoader* loader = new_loader(lib, expected, &error);
    bool ok =
        loader != nullptr && lib.loader_write(loader, bytes.data(), bytes.size(), &error) != FALSE;
    // Closing tells the loader that no more data come; it must be closed either way.
    if (loader != nullptr)
        ok = lib.loader_close(loader, ok ? &error : nullptr) != FALSE && ok;
    GdkPixbuf* pixbuf = ok ? lib.loader_get_pixbuf(loader) : nullptr;
    const Format* format = ok ? loader_format(lib, loader) : nullptr;
    if (pixbuf != nullptr && format != nullptr) {
        decoded.surface = surface_from_pixbuf(lib, pixbuf);
        decoded.format = format;
        decoded.result = decoded.surface != nullptr ? DecodeResult::ok : DecodeResult::invalid_data;
        if (decoded.surface == nullptr)
            decoded.error = "no memory for the decoded picture";
    } else if (ok) {
        decoded.result = DecodeResult::unknown_type;
        decoded.error = "not a format pictures are read in";
    } else {
        decoded.result = result_for_error(lib, error);
        decoded.error = error != nullptr ? error->message : "the decoder gave no image";
    }
    if (error != nullptr)
        g_error_free(error);
    if (loader != nullptr)
        g_object_unref(loader);
    return decoded;
}

} // namespace

bool read_file(const std::string& path, std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    bytes.clear();
    unsigned char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    const bool failed = std::ferror(file) != 0;
    const int saved = errno;
    std::fclose(file);
    errno = saved;
    return !failed;
}

} // namespace qt
