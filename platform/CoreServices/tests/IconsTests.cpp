// Icon Services: icon families built here (synthetic test data), read from
// files and made into IconRefs; damaged families are refused.
#include "IconFamily.h"
#include "TestSupport.h"

#include <CoreServices/CoreServices.h>

#include <cstring>
#include <fstream>
#include <string>

namespace {

using Bytes = std::vector<uint8_t>;

void put_be32(Bytes& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

Bytes element(OSType kind, const Bytes& data) {
    Bytes out;
    put_be32(out, kind);
    put_be32(out, static_cast<uint32_t>(data.size() + 8));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

Bytes family(const std::vector<Bytes>& elements) {
    Bytes body;
    for (const Bytes& e : elements)
        body.insert(body.end(), e.begin(), e.end());
    Bytes out;
    put_be32(out, kIconFamilyType);
    put_be32(out, static_cast<uint32_t>(body.size() + 8));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

// Run-length encoded planes of one value each (runs of at most 130).
Bytes constant_planes(std::initializer_list<uint8_t> values, size_t plane_size) {
    Bytes out;
    for (uint8_t value : values) {
        for (size_t left = plane_size; left > 0;) {
            size_t run = left < 130 ? left : 130;
            out.push_back(static_cast<uint8_t>(run + 125));
            out.push_back(value);
            left -= run;
        }
    }
    return out;
}

// Just the signature and header chunk of a PNG image of the given size.
Bytes png_header(uint32_t width, uint32_t height) {
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    put_be32(out, width);
    put_be32(out, height);
    out.insert(out.end(), {8, 6, 0, 0, 0, 0, 0, 0, 0});
    return out;
}

const Bytes kOrangeLarge = constant_planes({0xF0, 0x80, 0x10}, 32 * 32);
const Bytes kHalfMask(32 * 32, 0x80);

// A Pascal string for FSMakeFSSpec.
std::basic_string<unsigned char> pascal(const std::string& text) {
    std::basic_string<unsigned char> out(1, static_cast<unsigned char>(text.size()));
    out.append(text.begin(), text.end());
    return out;
}

OSStatus icon_from(const Bytes& bytes, IconRef* icon) {
    return GetIconRefFromIconFamilyPtr(reinterpret_cast<const IconFamilyResource*>(bytes.data()),
                                       static_cast<Size>(bytes.size()), icon);
}

TEST(IconRuns, LiteralsAndRepeatsExpandAndOvershootIsRefused) {
    std::vector<uint8_t> out;
    // Two literal bytes, then 0x83: three copies of 9.
    const uint8_t data[] = {0x01, 7, 8, 0x80, 9};
    ASSERT_TRUE(cs::unpack_icon_runs(data, sizeof(data), 5, out));
    EXPECT_EQ(out, (std::vector<uint8_t>{7, 8, 9, 9, 9}));
    EXPECT_FALSE(cs::unpack_icon_runs(data, sizeof(data), 4, out)); // the run overshoots
    EXPECT_FALSE(cs::unpack_icon_runs(data, sizeof(data), 6, out)); // the data end early
    const uint8_t cut[] = {0x05, 1, 2};                             // six literals promised
    EXPECT_FALSE(cs::unpack_icon_runs(cut, sizeof(cut), 6, out));
}

TEST(IconFamily, DecodesRgbWithItsMaskAndChecksPngSizes) {
    Bytes bytes = family({element('icnV', {0, 0, 0, 1}), element(kLarge32BitData, kOrangeLarge),
                          element(kLarge8BitMask, kHalfMask),
                          element(kIconServices128PixelDataARGB, png_header(128, 128))});
    std::vector<cs::IconImage> images;
    std::string error;
    ASSERT_EQ(cs::parse_icon_family(bytes.data(), bytes.size(), images, error), noErr) << error;
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].kind, static_cast<OSType>(kLarge32BitData));
    EXPECT_EQ(images[0].mask_kind, static_cast<OSType>(kLarge8BitMask));
    ASSERT_EQ(images[0].argb.size(), 32u * 32u);
    EXPECT_EQ(images[0].argb[0], 0x80F08010u);
    EXPECT_EQ(images[0].argb[32 * 32 - 1], 0x80F08010u);
    EXPECT_EQ(images[1].width, 128);
    EXPECT_FALSE(images[1].png.empty());

    IconRef icon = nullptr;
    ASSERT_EQ(icon_from(bytes, &icon), noErr);
    EXPECT_TRUE(IsDataAvailableInIconRef(kLarge32BitData, icon));
    EXPECT_TRUE(IsDataAvailableInIconRef(kLarge8BitMask, icon));
    EXPECT_TRUE(IsDataAvailableInIconRef(kIconServices128PixelDataARGB, icon));
    EXPECT_FALSE(IsDataAvailableInIconRef(kThumbnail32BitData, icon));
    UInt16 owners = 0;
    ASSERT_EQ(AcquireIconRef(icon), noErr);
    ASSERT_EQ(GetIconRefOwners(icon, &owners), noErr);
    EXPECT_EQ(owners, 2);
    EXPECT_EQ(ReleaseIconRef(icon), noErr);
    EXPECT_EQ(ReleaseIconRef(icon), noErr);
    EXPECT_EQ(ReleaseIconRef(nullptr), invalidIconRefErr);
}

TEST(IconFamily, RefusesDamagedFamiliesAndOnesWithoutImages) {
    IconRef icon = reinterpret_cast<IconRef>(&icon);
    EXPECT_EQ(icon_from(family({element('icnV', {0, 0, 0, 1})}), &icon), noIconDataAvailableErr);
    EXPECT_EQ(icon, nullptr);

    Bytes overrun = family({element(kLarge32BitData, kOrangeLarge)});
    overrun[12] = 0x7F; // the element claims more than the family holds
    EXPECT_EQ(icon_from(overrun, &icon), paramErr);
    Bytes short_rgb(kOrangeLarge.begin(), kOrangeLarge.end() - 2);
    EXPECT_EQ(icon_from(family({element(kLarge32BitData, short_rgb)}), &icon), paramErr);
    EXPECT_EQ(icon_from(family({element(kLarge32BitData, kOrangeLarge),
                                element(kLarge8BitMask, Bytes(100, 0xFF))}),
                        &icon),
              paramErr);
    EXPECT_EQ(
        icon_from(family({element(kIconServices256PixelDataARGB, png_header(128, 128))}), &icon),
        paramErr);
    Bytes not_icns = family({element(kLarge32BitData, kOrangeLarge)});
    not_icns[0] = 'x';
    EXPECT_EQ(icon_from(not_icns, &icon), paramErr);
    EXPECT_EQ(GetIconRefFromIconFamilyPtr(nullptr, 8, &icon), paramErr);
}

TEST(IconFile, ReadsIntoTheGivenHandleOrANewOne) {
    std::filesystem::path dir = cstest::scratch_folder();
    Bytes bytes = family({element(kLarge32BitData, kOrangeLarge)});
    std::ofstream(dir / "card.icns", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    std::ofstream(dir / "note.txt") << "not an icon";
    FSSpec spec;
    FSRef folder;
    ASSERT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(dir.c_str()), &folder, nullptr), noErr);
    FSCatalogInfo info;
    ASSERT_EQ(FSGetCatalogInfo(&folder, kFSCatInfoNodeID, &info, nullptr, nullptr, nullptr), noErr);

    auto given = reinterpret_cast<IconFamilyHandle>(NewHandle(0));
    IconFamilyHandle kept = given;
    ASSERT_EQ(FSMakeFSSpec(0, static_cast<SInt32>(info.nodeID), pascal("card.icns").c_str(), &spec),
              noErr);
    ASSERT_EQ(ReadIconFile(&spec, &given), noErr);
    EXPECT_EQ(given, kept);
    ASSERT_EQ(GetHandleSize(reinterpret_cast<Handle>(given)), static_cast<Size>(bytes.size()));
    EXPECT_EQ(std::memcmp(*given, bytes.data(), bytes.size()), 0);
    IconRef icon = nullptr;
    EXPECT_EQ(
        GetIconRefFromIconFamilyPtr(*given, GetHandleSize(reinterpret_cast<Handle>(given)), &icon),
        noErr);
    ReleaseIconRef(icon);
    DisposeHandle(reinterpret_cast<Handle>(given));

    IconFamilyHandle made = nullptr;
    ASSERT_EQ(ReadIconFile(&spec, &made), noErr);
    EXPECT_NE(made, nullptr);
    DisposeHandle(reinterpret_cast<Handle>(made));

    made = nullptr;
    ASSERT_EQ(FSMakeFSSpec(0, static_cast<SInt32>(info.nodeID), pascal("note.txt").c_str(), &spec),
              noErr);
    EXPECT_EQ(ReadIconFile(&spec, &made), paramErr);
    EXPECT_EQ(made, nullptr);
    EXPECT_EQ(FSMakeFSSpec(0, static_cast<SInt32>(info.nodeID), pascal("gone.icns").c_str(), &spec),
              fnfErr);
    EXPECT_EQ(ReadIconFile(&spec, &made), fnfErr);
}

} // namespace
