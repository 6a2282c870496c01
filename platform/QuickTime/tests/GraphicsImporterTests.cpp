// Graphics importers and image sources over pictures written here with
// gdk-pixbuf (synthetic test data), drawn into a window and sampled.
#include "Picture.h"

#include <ImageIO/ImageIO.h>
#include <QuickTime/QuickTime.h>

#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/PlatformHost.h>

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path scratch_folder() {
    const char* build = std::getenv("ACCOUNTING_BINARY_DIR");
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    fs::path folder = fs::path(build != nullptr ? build : fs::temp_directory_path().string()) /
                      "test-scratch" / "QuickTime" /
                      (std::string(info->test_suite_name()) + "." + info->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
    return fs::canonical(folder);
}

// A picture of one colour in gdk-pixbuf's format `type`; its right half is
// transparent where the format has transparency.
void write_picture(const fs::path& path, const char* type, int width, int height, guint32 rgba) {
    const bool alpha = std::string(type) != "jpeg";
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, alpha, 8, width, height);
    gdk_pixbuf_fill(pixbuf, rgba);
    if (alpha) {
        GdkPixbuf* half = gdk_pixbuf_new_subpixbuf(pixbuf, width / 2, 0, width - width / 2, height);
        gdk_pixbuf_fill(half, 0);
        g_object_unref(half);
    }
    ASSERT_TRUE(gdk_pixbuf_save(pixbuf, path.c_str(), type, nullptr, nullptr));
    g_object_unref(pixbuf);
}

FSSpec spec_for(const fs::path& path) {
    FSRef ref{};
    FSSpec spec{};
    EXPECT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr), noErr);
    EXPECT_EQ(FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, &spec, nullptr), noErr);
    return spec;
}

TEST(GraphicsImporter, ChoosesByNameOrContentAndRefusesWhatItCannotRead) {
    fs::path dir = scratch_folder();
    write_picture(dir / "real.png", "png", 8, 6, 0xFF0000FF);
    fs::copy_file(dir / "real.png", dir / "named.gif"); // PNG bytes behind a GIF name
    std::ofstream(dir / "notes.txt") << "plain text";
    fs::create_directory(dir / "folder.png");
    ComponentInstance gi = nullptr;
    Rect natural{};

    FSSpec named = spec_for(dir / "named.gif");
    ASSERT_EQ(
        GetGraphicsImporterForFileWithFlags(&named, &gi, kDontUseValidateToFindGraphicsImporter),
        noErr);
    EXPECT_EQ(GraphicsImportGetNaturalBounds(gi, &natural), codecErr); // the GIF decoder fails
    EXPECT_EQ(CloseComponent(gi), noErr);
    ASSERT_EQ(GetGraphicsImporterForFile(&named, &gi), noErr); // the content decides
    EXPECT_EQ(GraphicsImportGetNaturalBounds(gi, &natural), noErr);
    EXPECT_EQ(natural.right, 8);
    EXPECT_EQ(natural.bottom, 6);
    EXPECT_EQ(CloseComponent(gi), noErr);

    for (const char* file : {"notes.txt", "folder.png"}) {
        FSSpec spec = spec_for(dir / file);
        EXPECT_EQ(GetGraphicsImporterForFileWithFlags(&spec, &gi, 1), cantFindHandler) << file;
        EXPECT_EQ(GetGraphicsImporterForFile(&spec, &gi), cantFindHandler) << file;
        EXPECT_EQ(gi, nullptr);
    }
    EXPECT_EQ(GetGraphicsImporterForFile(nullptr, &gi), paramErr);
    EXPECT_EQ(GraphicsImportDraw(nullptr), badComponentInstance);
    EXPECT_EQ(CloseComponent(nullptr), invalidComponentID);
}

TEST(GraphicsImporter, DrawsScaledIntoTheDestinationOverTheBackground) {
    fs::path dir = scratch_folder();
    write_picture(dir / "half.png", "png", 4, 4, 0x0000FFFF); // blue left half
    WindowRef window = nullptr;
    Rect content = {50, 50, 150, 250};
    ASSERT_EQ(CreateNewWindow(kDocumentWindowClass, 0, &content, &window), noErr);
    UInt32 background = 0;
    ASSERT_EQ(PlatformCopyWindowPixel(window, 0, 0, &background), noErr);
    FSSpec spec = spec_for(dir / "half.png");
    ComponentInstance gi = nullptr;
    ASSERT_EQ(GetGraphicsImporterForFileWithFlags(&spec, &gi, 1), noErr);
    EXPECT_EQ(GraphicsImportDraw(gi), paramErr); // no port yet
    ASSERT_EQ(GraphicsImportSetGWorld(gi, GetWindowPort(window), nullptr), noErr);
    const Rect dest = {10, 20, 30, 60}; // 4 x 4 scaled to 40 x 20
    ASSERT_EQ(GraphicsImportSetDestRect(gi, &dest), noErr);
    ASSERT_EQ(GraphicsImportDraw(gi), noErr);
    auto pixel = [&](int x, int y) {
        UInt32 argb = 0;
        EXPECT_EQ(PlatformCopyWindowPixel(window, x, y, &argb), noErr);
        return argb;
    };
    EXPECT_EQ(pixel(22, 12), 0xFF0000FFu);
    EXPECT_EQ(pixel(33, 28), 0xFF0000FFu); // (scaling blends only across the middle)
    EXPECT_EQ(pixel(50, 20), background);  // the transparent half
    EXPECT_EQ(pixel(19, 20), background);  // outside the destination
    EXPECT_EQ(pixel(30, 31), background);
    CloseComponent(gi);
    DisposeWindow(window);
}

TEST(ImageSource, DecodesAFileAndReportsWhatItCannot) {
    fs::path dir = scratch_folder();
    write_picture(dir / "photo.jpg", "jpeg", 12, 9, 0x808080FF);
    std::ofstream(dir / "notes.txt") << "plain text";
    std::string png_bytes;
    write_picture(dir / "whole.png", "png", 16, 16, 0xFF00FFFF);
    {
        std::ifstream in(dir / "whole.png", std::ios::binary);
        png_bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::ofstream(dir / "cut.png", std::ios::binary) << png_bytes.substr(0, png_bytes.size() / 2);
    auto source_for = [&](const char* file) {
        std::string path = (dir / file).string();
        CFURLRef url = CFURLCreateFromFileSystemRepresentation(
            nullptr, reinterpret_cast<const UInt8*>(path.c_str()), path.size(), false);
        CGImageSourceRef source = CGImageSourceCreateWithURL(url, nullptr);
        CFRelease(url);
        return source;
    };

    CGImageSourceRef photo = source_for("photo.jpg");
    ASSERT_NE(photo, nullptr);
    EXPECT_EQ(CGImageSourceGetStatus(photo), kCGImageStatusComplete);
    EXPECT_EQ(CGImageSourceGetCount(photo), 1u);
    EXPECT_TRUE(CFEqual(CGImageSourceGetType(photo), CFSTR("public.jpeg")));
    CGImageRef image = CGImageSourceCreateImageAtIndex(photo, 0, nullptr);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(CGImageGetWidth(image), 12u);
    EXPECT_EQ(CGImageGetHeight(image), 9u);
    EXPECT_EQ(CGImageSourceCreateImageAtIndex(photo, 1, nullptr), nullptr);
    CFRelease(photo); // the image outlives its source
    EXPECT_EQ(CGImageGetWidth(CGImageRetain(image)), 12u);
    CGImageRelease(image);
    CGImageRelease(image);

    for (auto [file, status] : {std::pair{"notes.txt", kCGImageStatusUnknownType},
                                std::pair{"cut.png", kCGImageStatusInvalidData}}) {
        CGImageSourceRef source = source_for(file);
        ASSERT_NE(source, nullptr) << file;
        EXPECT_EQ(CGImageSourceGetStatus(source), status) << file;
        EXPECT_EQ(CGImageSourceCreateImageAtIndex(source, 0, nullptr), nullptr) << file;
        CFRelease(source);
    }
    EXPECT_EQ(source_for("missing.png"), nullptr);
    EXPECT_EQ(CGImageSourceCreateWithURL(nullptr, nullptr), nullptr);
}

} // namespace

namespace {

std::vector<uint8_t> png_bytes(guint32 rgba) {
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, 4, 3);
    gdk_pixbuf_fill(pixbuf, rgba);
    gchar* buffer = nullptr;
    gsize size = 0;
    EXPECT_TRUE(gdk_pixbuf_save_to_buffer(pixbuf, &buffer, &size, "png", nullptr, nullptr));
    std::vector<uint8_t> bytes(buffer, buffer + size);
    g_free(buffer);
    g_object_unref(pixbuf);
    return bytes;
}

uint32_t first_pixel(cairo_surface_t* surface) {
    uint32_t pixel = 0;
    std::memcpy(&pixel, cairo_image_surface_get_data(surface), sizeof(pixel));
    return pixel;
}

// The same bytes decode to one shared picture; other bytes, or the same bytes read as another
// format, are decoded on their own.
TEST(PictureDecoding, TheSameBytesShareOnePictureOtherBytesDoNot) {
    const std::vector<uint8_t> red = png_bytes(0xFF0000FF), blue = png_bytes(0x0000FFFF);
    qt::Decoded first = qt::decode_picture(red, qt::format_for_name("a.png"));
    qt::Decoded again = qt::decode_picture(red, qt::format_for_name("a.png"));
    qt::Decoded other = qt::decode_picture(blue, qt::format_for_name("a.png"));
    qt::Decoded as_gif = qt::decode_picture(red, qt::format_for_name("a.gif"));
    ASSERT_EQ(first.result, qt::DecodeResult::ok);
    ASSERT_EQ(other.result, qt::DecodeResult::ok);
    EXPECT_EQ(first.surface, again.surface);
    EXPECT_EQ(first_pixel(first.surface), 0xFFFF0000u);
    EXPECT_EQ(first_pixel(other.surface), 0xFF0000FFu);
    EXPECT_NE(as_gif.result, qt::DecodeResult::ok);
    for (cairo_surface_t* surface : {first.surface, again.surface, other.surface})
        cairo_surface_destroy(surface);
}

} // namespace
