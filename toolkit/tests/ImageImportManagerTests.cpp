// The image import manager over folder trees made here: solid pictures
// written with gdk-pixbuf and a GIF written at build time by
// tools/make-accounting-pictures.py (synthetic test data), and the pictures
// the bundle ships.
#include "ImageImportManager.h"

#include <HIToolbox/PlatformHost.h>

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr UInt32 kGreen = 0xFF1E8C3C; // the colour of the generated GIF fixture
constexpr int kProbeWidth = 40;
constexpr int kProbeHeight = 30;

fs::path scratch_folder() {
    const char* build = std::getenv("ACCOUNTING_BINARY_DIR");
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    fs::path folder = fs::path(build != nullptr ? build : fs::temp_directory_path().string()) /
                      "test-scratch" / "toolkit" /
                      (std::string(info->test_suite_name()) + "." + info->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
    return fs::canonical(folder);
}

void write_png(const fs::path& path, int width, int height, guint32 rgba) {
    fs::create_directories(path.parent_path());
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, width, height);
    gdk_pixbuf_fill(pixbuf, rgba);
    ASSERT_TRUE(gdk_pixbuf_save(pixbuf, path.c_str(), "png", nullptr, nullptr));
    g_object_unref(pixbuf);
}

void copy_probe_gif(const fs::path& path) {
    fs::create_directories(path.parent_path());
    fs::copy_file(IMAGE_FIXTURE_DIR "/Probe-40x30.gif", path);
}

FSRef ref_for(const fs::path& path) {
    FSRef ref{};
    EXPECT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr), noErr);
    return ref;
}

CFStringRef name(const char* text) {
    return CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8);
}

Rect dest_rect_of(const char* file) {
    CFStringRef key = name(file);
    Rect dest{};
    EXPECT_EQ(GraphicsImportGetDestRect(ImageImportManager::componentForFilename(key), &dest),
              noErr);
    CFRelease(key);
    return dest;
}

// A window of user panes, its background colour, and its pixels.
struct TestWindow {
    WindowRef window = nullptr;
    UInt32 background = 0;

    TestWindow() {
        Rect content = {100, 100, 400, 500};
        EXPECT_EQ(CreateNewWindow(kDocumentWindowClass, 0, &content, &window), noErr);
        background = pixel(399, 299); // no control there
    }
    ~TestWindow() { DisposeWindow(window); }

    ControlRef pane(short top, short left, short bottom, short right) {
        Rect bounds = {top, left, bottom, right};
        ControlRef control = nullptr;
        EXPECT_EQ(CreateUserPaneControl(window, &bounds, 0, &control), noErr);
        return control;
    }
    UInt32 pixel(SInt32 x, SInt32 y) {
        UInt32 argb = 0;
        EXPECT_EQ(PlatformCopyWindowPixel(window, x, y, &argb), noErr);
        return argb;
    }
};

void draw(const char* file, ControlRef control, bool noErase) {
    CFStringRef key = name(file);
    EXPECT_EQ(DrawImage(key, control, noErase), noErr);
    CFRelease(key);
}

TEST(ImageIndex, FindsFilesAtAnyDepthNotFoldersAndTheLaterOfTwoNames) {
    fs::path root = scratch_folder();
    copy_probe_gif(root / "a" / "b" / "Accounting-On.gif"); // two levels down
    write_png(root / "Folder.gif" / "inner.png", 2, 2, 0xFF0000FF);
    fs::create_directories(root / "c");
    write_png(root / "x" / "Same.png", 4, 4, 0xFF0000FF);
    write_png(root / "y" / "Same.png", 6, 6, 0x0000FFFF); // met later in the walk
    std::ofstream(root / "notes.txt") << "not a picture";
    // An icon family of one 16 x 16 image, each colour plane a single value.
    const char icns[] = "icns\0\0\0\x1Cis32\0\0\0\x14"
                        "\xFF\x10\xFB\x10\xFF\x20\xFB\x20\xFF\x30\xFB\x30";
    std::ofstream(root / "c" / "card.icns", std::ios::binary).write(icns, sizeof(icns) - 1);
    ImageImportManager manager(ref_for(root));

    CFStringRef on = name("Accounting-On.gif");
    GraphicsImportComponent importer = ImageImportManager::componentForFilename(on);
    ASSERT_NE(importer, nullptr);
    EXPECT_EQ(ImageImportManager::componentForFilename(on), importer); // cached
    Rect natural{};
    EXPECT_EQ(GraphicsImportGetNaturalBounds(importer, &natural), noErr);
    EXPECT_EQ(natural.right, kProbeWidth);
    CFRelease(on);

    CFStringRef folder = name("Folder.gif");
    CFStringRef inner = name("inner.png");
    EXPECT_EQ(ImageImportManager::componentForFilename(folder), nullptr);
    EXPECT_NE(ImageImportManager::componentForFilename(inner), nullptr);
    CFStringRef same = name("Same.png");
    EXPECT_EQ(dest_rect_of("Same.png").right, 6);
    CGImageRef image = ImageImportManager::imageForFilename(same);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(CGImageGetWidth(image), 6u);
    EXPECT_EQ(ImageImportManager::imageForFilename(same), image);
    EXPECT_EQ(ImageImportManager::iconForFilename(same), nullptr); // not an icon family

    CFStringRef card = name("card.icns");
    IconRef icon = ImageImportManager::iconForFilename(card);
    ASSERT_NE(icon, nullptr);
    EXPECT_TRUE(IsDataAvailableInIconRef(kSmall32BitData, icon));
    EXPECT_EQ(ImageImportManager::iconForFilename(card), icon);

    CFStringRef notes = name("notes.txt");
    EXPECT_EQ(ImageImportManager::componentForFilename(notes), nullptr);
    EXPECT_EQ(ImageImportManager::imageForFilename(notes), nullptr);
    EXPECT_EQ(ImageImportManager::componentForFilename(nullptr), nullptr);
    for (CFStringRef s : {folder, inner, same, card, notes})
        CFRelease(s);
}

TEST(DrawImage, CentresTheNaturalSizeMovingEachEdgeByHalfTheDifference) {
    fs::path root = scratch_folder();
    copy_probe_gif(root / "Probe.gif");
    ImageImportManager manager(ref_for(root));
    TestWindow w;
    ControlRef wide = w.pane(20, 10, 70, 110); // 100 x 50
    draw("Probe.gif", wide, false);
    Rect dest = dest_rect_of("Probe.gif");
    EXPECT_EQ(dest.left, 40);
    EXPECT_EQ(dest.right, 80);
    EXPECT_EQ(dest.top, 30);
    EXPECT_EQ(dest.bottom, 60);
    EXPECT_EQ(w.pixel(40, 30), kGreen);
    EXPECT_EQ(w.pixel(79, 59), kGreen);
    EXPECT_EQ(w.pixel(39, 45), w.background);
    EXPECT_EQ(w.pixel(80, 45), w.background);
    EXPECT_EQ(w.pixel(60, 29), w.background);

    ControlRef odd = w.pane(100, 10, 150, 111); // 101 x 50: one pixel larger than natural
    draw("Probe.gif", odd, false);
    dest = dest_rect_of("Probe.gif");
    EXPECT_EQ(dest.left, 40);
    EXPECT_EQ(dest.right, 81);
    EXPECT_EQ(w.pixel(80, 125), kGreen);

    ControlRef small = w.pane(200, 200, 210, 220); // 20 x 10: the picture spills evenly
    draw("Probe.gif", small, false);
    dest = dest_rect_of("Probe.gif");
    EXPECT_EQ(dest.left, 190);
    EXPECT_EQ(dest.right, 230);
    EXPECT_EQ(dest.top, 190);
    EXPECT_EQ(dest.bottom, 220);
}

TEST(DrawImage, WithoutAPictureOnlyErasesAndNoEraseKeepsThePixels) {
    fs::path root = scratch_folder();
    copy_probe_gif(root / "Probe.gif");
    TestWindow w;
    ControlRef control = w.pane(20, 20, 80, 120);
    auto manager = std::make_unique<ImageImportManager>(ref_for(root));
    draw("Probe.gif", control, false);
    ASSERT_EQ(w.pixel(70, 50), kGreen);
    draw("Unknown.gif", control, true);
    EXPECT_EQ(w.pixel(70, 50), kGreen);
    draw("Unknown.gif", control, false);
    EXPECT_EQ(w.pixel(70, 50), w.background);
    EXPECT_EQ(DrawImage(nullptr, nullptr, false), noErr);

    // The caches are the class's: destroying any manager empties them for all.
    draw("Probe.gif", control, false);
    ImageImportManager* second = new ImageImportManager(ref_for(root));
    delete second;
    CFStringRef probe = name("Probe.gif");
    EXPECT_EQ(ImageImportManager::componentForFilename(probe), nullptr);
    EXPECT_EQ(ImageImportManager::iconForFilename(probe), nullptr);
    EXPECT_EQ(ImageImportManager::imageForFilename(probe), nullptr);
    EXPECT_EQ(w.pixel(70, 50), kGreen);
    EXPECT_EQ(DrawImage(probe, control, false), noErr);
    EXPECT_EQ(w.pixel(70, 50), w.background);
    CFRelease(probe);
    manager.reset(); // a second destruction finds nothing to free
}

// A panel's manager made while another's caches exist must not close what the other handed
// out; destroying either closes everything.
TEST(ImageIndex, ASecondManagerKeepsTheFirstOnesImportersOpen) {
    fs::path root = scratch_folder();
    copy_probe_gif(root / "Probe.gif");
    auto first = std::make_unique<ImageImportManager>(ref_for(root));
    CFStringRef probe = name("Probe.gif");
    GraphicsImportComponent importer = ImageImportManager::componentForFilename(probe);
    ASSERT_NE(importer, nullptr);
    auto second = std::make_unique<ImageImportManager>(ref_for(root));
    Rect natural{};
    EXPECT_EQ(GraphicsImportGetNaturalBounds(importer, &natural), noErr);
    EXPECT_EQ(natural.right, kProbeWidth);
    EXPECT_NE(ImageImportManager::componentForFilename(probe), nullptr);
    first.reset();
    EXPECT_EQ(ImageImportManager::componentForFilename(probe), nullptr);
    second.reset();
    CFRelease(probe);
}

TEST(ImagePane, DrawsThePictureNamedByItsProperty) {
    EXPECT_EQ(InitializeIcon(nullptr), paramErr);
    fs::path root = scratch_folder();
    copy_probe_gif(root / "Probe.gif");
    ImageImportManager manager(ref_for(root));
    TestWindow w;
    ControlRef pane = w.pane(20, 20, 80, 120);
    const std::u16string probe = u"Probe.gif";
    ASSERT_EQ(SetControlProperty(pane, kImagePanePropertyCreator, kImagePanePropertyTag,
                                 probe.size() * 2, probe.data()),
              noErr);
    ASSERT_EQ(InitializeIcon(pane), noErr);
    Draw1Control(pane);
    EXPECT_EQ(w.pixel(70, 50), kGreen);

    const std::u16string unknown = u"Nothing.png";
    SetControlProperty(pane, kImagePanePropertyCreator, kImagePanePropertyTag, unknown.size() * 2,
                       unknown.data());
    Draw1Control(pane);
    EXPECT_EQ(w.pixel(70, 50), w.background);

    EventRef hit = nullptr;
    ASSERT_EQ(CreateEvent(nullptr, kEventClassControl, kEventControlHit, 0, 0, &hit), noErr);
    EXPECT_EQ(DrawIconEventHandler(nullptr, hit, nullptr), eventNotHandledErr);
    ReleaseEvent(hit);
}

TEST(ShippedPictures, OnShowsAGreenCheckAndOffAGreyStroke) {
    ImageImportManager manager(ref_for(SHIPPED_RESOURCES_DIR));
    TestWindow w;
    ControlRef on = w.pane(0, 0, 48, 48);
    ControlRef off = w.pane(0, 100, 48, 148);
    draw("Accounting-On.gif", on, false);
    draw("Accounting-Off.gif", off, false);
    const UInt32 check = w.pixel(29, 37);
    EXPECT_GT((check >> 8) & 0xFF, (check >> 16) & 0xFF) << std::hex << check;
    EXPECT_GT((check >> 8) & 0xFF, check & 0xFF) << std::hex << check;
    const UInt32 stroke = w.pixel(100 + 24, 24);
    EXPECT_EQ((stroke >> 16) & 0xFF, stroke & 0xFF) << std::hex << stroke;
    EXPECT_LT(stroke & 0xFF, 0xC0u) << std::hex << stroke;
    EXPECT_EQ(w.pixel(1, 1), w.background); // transparent corner
}

} // namespace
