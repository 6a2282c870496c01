// Reading icon families: the container, run-length encoded RGB elements with
// their masks, run-length encoded ARGB elements, and PNG elements.
#include "IconFamily.h"

#include <cstring>
#include <map>

namespace cs {
namespace {

enum class Encoding { rgb, argb_or_png, png };

struct ElementKind {
    OSType kind;
    int side;
    Encoding encoding;
    OSType mask; // for rgb
};

const ElementKind kKinds[] = {
    {kSmall32BitData, 16, Encoding::rgb, kSmall8BitMask},
    {kLarge32BitData, 32, Encoding::rgb, kLarge8BitMask},
    {kHuge32BitData, 48, Encoding::rgb, kHuge8BitMask},
    {kThumbnail32BitData, 128, Encoding::rgb, kThumbnail8BitMask},
    {kIconServices16PixelDataARGB, 16, Encoding::argb_or_png, 0},
    {kIconServices32PixelDataARGB, 32, Encoding::argb_or_png, 0},
    {kIconServices48PixelDataARGB, 48, Encoding::argb_or_png, 0},
    {'icp4', 16, Encoding::png, 0},
    {'icp5', 32, Encoding::png, 0},
    {'icp6', 64, Encoding::png, 0},
    {kIconServices128PixelDataARGB, 128, Encoding::png, 0},
    {kIconServices256PixelDataARGB, 256, Encoding::png, 0},
    {kIconServices512PixelDataARGB, 512, Encoding::png, 0},
    {kIconServices1024PixelDataARGB, 1024, Encoding::png, 0},
    {'ic11', 32, Encoding::png, 0},
    {'ic12', 64, Encoding::png, 0},
    {'ic13', 256, Encoding::png, 0},
    {'ic14', 512, Encoding::png, 0},
};

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr uint8_t kJpeg2000Signature[4] = {0x00, 0x00, 0x00, 0x0C};

struct Span {
    const uint8_t* data;
    size_t length;
};

uint32_t read_be32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

std::string kind_text(OSType kind) {
    char text[5] = {static_cast<char>(kind >> 24), static_cast<char>(kind >> 16),
                    static_cast<char>(kind >> 8), static_cast<char>(kind), 0};
    return text;
}

OSStatus damaged(std::string& error, OSType kind, const char* why) {
    error = "element \"" + kind_text(kind) + "\": " + why;
    return paramErr;
}

// The family's elements by kind (the first of each kind counts).
OSStatus split_elements(const uint8_t* bytes, size_t size, std::map<OSType, Span>& elements,
                        std::string& error) {
    if (size < 8 || read_be32(bytes) != kIconFamilyType) {
        error = "not an icon family";
        return paramErr;
    }
    size_t total = read_be32(bytes + 4);
    if (total < 8 || total > size) {
        error = "family size " + std::to_string(total) + " does not fit " + std::to_string(size) +
                " bytes";
        return paramErr;
    }
    for (size_t at = 8; at < total;) {
        if (total - at < 8) {
            error = "truncated element header at offset " + std::to_string(at);
            return paramErr;
        }
        OSType kind = read_be32(bytes + at);
        size_t length = read_be32(bytes + at + 4);
        if (length < 8 || length > total - at)
            return damaged(error, kind, "size runs past the end of the family");
        elements.emplace(kind, Span{bytes + at + 8, length - 8});
        at += length;
    }
    return noErr;
}

// `planes` planes of side*side bytes each, run-length encoded or not.
bool unpack_planes(Span span, int side, int planes, std::vector<uint8_t>& out) {
    const size_t count = static_cast<size_t>(side) * side * planes;
    if (span.length == count) { // stored without encoding
        out.assign(span.data, span.data + span.length);
        return true;
    }
    return unpack_icon_runs(span.data, span.length, count, out);
}

OSStatus decode_rgb(const ElementKind& k, Span span, const std::map<OSType, Span>& elements,
                    IconImage& image, std::string& error) {
    const size_t pixels = static_cast<size_t>(k.side) * k.side;
    if (k.kind == kThumbnail32BitData) { // four bytes of zero come first
        if (span.length < 4)
            return damaged(error, k.kind, "too short");
        span = Span{span.data + 4, span.length - 4};
    }
    std::vector<uint8_t> rgb;
    if (span.length == pixels * 4) { // unencoded: a pad byte, then R, G and B per pixel
        rgb.resize(pixels * 3);
        for (size_t i = 0; i < pixels; ++i)
            for (size_t c = 0; c < 3; ++c)
                rgb[c * pixels + i] = span.data[i * 4 + 1 + c];
    } else if (!unpack_planes(span, k.side, 3, rgb)) {
        return damaged(error, k.kind, "damaged run-length data");
    }
    const uint8_t* mask = nullptr;
    if (auto found = elements.find(k.mask); found != elements.end()) {
        if (found->second.length != pixels)
            return damaged(error, k.mask, "mask of the wrong size");
        mask = found->second.data;
        image.mask_kind = k.mask;
    }
    image.argb.resize(pixels);
    for (size_t i = 0; i < pixels; ++i) {
        uint32_t alpha = mask != nullptr ? mask[i] : 0xFFu;
        image.argb[i] = alpha << 24 | uint32_t{rgb[i]} << 16 | uint32_t{rgb[pixels + i]} << 8 |
                        rgb[2 * pixels + i];
    }
    return noErr;
}

OSStatus decode_argb(const ElementKind& k, Span span, IconImage& image, std::string& error) {
    std::vector<uint8_t> planes;
    if (!unpack_icon_runs(span.data + 4, span.length - 4, static_cast<size_t>(k.side) * k.side * 4,
                          planes))
        return damaged(error, k.kind, "damaged run-length data");
    const size_t pixels = static_cast<size_t>(k.side) * k.side;
    image.argb.resize(pixels);
    for (size_t i = 0; i < pixels; ++i)
        image.argb[i] = uint32_t{planes[i]} << 24 | uint32_t{planes[pixels + i]} << 16 |
                        uint32_t{planes[2 * pixels + i]} << 8 | planes[3 * pixels + i];
    return noErr;
}

OSStatus check_png(const ElementKind& k, Span span, IconImage& image, std::string& error) {
    if (span.length < 24 || std::memcmp(span.data + 12, "IHDR", 4) != 0)
        return damaged(error, k.kind, "PNG data without a header");
    uint32_t width = read_be32(span.data + 16);
    uint32_t height = read_be32(span.data + 20);
    if (width != static_cast<uint32_t>(k.side) || height != static_cast<uint32_t>(k.side))
        return damaged(error, k.kind, "PNG image of the wrong size");
    image.png.assign(span.data, span.data + span.length);
    return noErr;
}

bool starts_with(Span span, const uint8_t* prefix, size_t length) {
    return span.length >= length && std::memcmp(span.data, prefix, length) == 0;
}

// One image element. `skipped` is set for encodings that are not read here
// (JPEG 2000), which are left out rather than refused.
OSStatus decode_element(const ElementKind& k, Span span, const std::map<OSType, Span>& elements,
                        IconImage& image, bool& skipped, std::string& error) {
    image.kind = k.kind;
    image.width = image.height = k.side;
    skipped = false;
    if (k.encoding == Encoding::rgb)
        return decode_rgb(k, span, elements, image, error);
    if (starts_with(span, kPngSignature, sizeof(kPngSignature)))
        return check_png(k, span, image, error);
    if (k.encoding == Encoding::argb_or_png &&
        starts_with(span, reinterpret_cast<const uint8_t*>("ARGB"), 4))
        return decode_argb(k, span, image, error);
    if (starts_with(span, kJpeg2000Signature, sizeof(kJpeg2000Signature))) {
        skipped = true;
        return noErr;
    }
    return damaged(error, k.kind, "unknown image encoding");
}

} // namespace

bool unpack_icon_runs(const uint8_t* data, size_t length, size_t count, std::vector<uint8_t>& out) {
    out.clear();
    out.reserve(count);
    size_t at = 0;
    while (out.size() < count) {
        if (at >= length)
            return false;
        const uint8_t control = data[at++];
        if (control < 0x80) {
            size_t n = size_t{control} + 1;
            if (n > length - at || n > count - out.size())
                return false;
            out.insert(out.end(), data + at, data + at + n);
            at += n;
        } else {
            size_t n = size_t{control} - 125;
            if (at >= length || n > count - out.size())
                return false;
            out.insert(out.end(), n, data[at++]);
        }
    }
    return true;
}

OSStatus parse_icon_family(const uint8_t* bytes, size_t size, std::vector<IconImage>& images,
                           std::string& error) {
    std::map<OSType, Span> elements;
    if (OSStatus status = split_elements(bytes, size, elements, error); status != noErr)
        return status;
    for (const ElementKind& k : kKinds) {
        auto found = elements.find(k.kind);
        if (found == elements.end())
            continue;
        IconImage image;
        bool skipped = false;
        if (OSStatus status = decode_element(k, found->second, elements, image, skipped, error);
            status != noErr)
            return status;
        if (!skipped)
            images.push_back(std::move(image));
    }
    if (images.empty()) {
        error = "no image the icon can show";
        return noIconDataAvailableErr;
    }
    return noErr;
}

} // namespace cs
