// Icon families inside CoreServices: the images an "icns" family holds, as
// Icon Services keeps them in an IconRef.
#ifndef CORESERVICES_SRC_ICONFAMILY_H
#define CORESERVICES_SRC_ICONFAMILY_H

#include <CoreServices/IconsCore.h>

#include <cstdint>
#include <string>
#include <vector>

namespace cs {

// One image of a family. Decoded images have their pixels as 0xAARRGGBB
// (not premultiplied), row by row; PNG images keep their file bytes.
struct IconImage {
    OSType kind = 0;      // the element the image came from
    OSType mask_kind = 0; // the mask element applied to it, 0 if none
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;
    std::vector<uint8_t> png;
};

// Reads the images of `size` bytes of icon family data. Returns noErr,
// paramErr with a reason in `error` for data that is not a well-formed
// family, or noIconDataAvailableErr when the family holds no image.
OSStatus parse_icon_family(const uint8_t* bytes, size_t size, std::vector<IconImage>& images,
                           std::string& error);

// Expands the run-length encoding of icon elements (a control byte below
// 0x80 copies that many plus one bytes; from 0x80 it repeats the next byte
// that many minus 125 times) until `out` holds `count` bytes. False when the
// data end early or a run would overshoot.
bool unpack_icon_runs(const uint8_t* data, size_t length, size_t count, std::vector<uint8_t>& out);

} // namespace cs

#endif // CORESERVICES_SRC_ICONFAMILY_H
