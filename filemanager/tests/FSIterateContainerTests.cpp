#include <FileManagerKit.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A fresh folder under the build tree, named after the running test.
fs::path scratch_folder() {
    const char* build = std::getenv("ACCOUNTING_BINARY_DIR");
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    fs::path folder = fs::path(build ? build : fs::temp_directory_path().string()) /
                      "test-scratch" / "filemanager" / info->name();
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

void touch(const fs::path& path) {
    fs::create_directories(path.parent_path());
    std::ofstream{path};
}

FSRef ref_for(const fs::path& path) {
    FSRef ref;
    EXPECT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr), noErr);
    return ref;
}

struct Visit {
    ItemCount level;
    std::string name;
    bool folder;
};

struct Recorder {
    std::vector<Visit> visits;
    std::string stop_at;
    bool spec_given = false;
    bool name_given = false;
};

std::string name_of(const FSRef* ref) {
    UInt8 path[4096];
    if (FSRefMakePath(ref, path, sizeof(path)) != noErr)
        return "?";
    return fs::path(reinterpret_cast<char*>(path)).filename().string();
}

Boolean record(Boolean, ItemCount level, const FSCatalogInfo* info, const FSRef* ref,
               const FSSpec* spec, const HFSUniStr255* name, void* data) {
    auto* recorder = static_cast<Recorder*>(data);
    std::string leaf = name_of(ref);
    recorder->visits.push_back({level, leaf, (info->nodeFlags & kFSNodeIsDirectoryMask) != 0});
    recorder->spec_given |= spec != nullptr;
    recorder->name_given |= name != nullptr;
    if (name != nullptr) {
        EXPECT_EQ(name->length, leaf.size()); // ASCII names: one unit per byte
    }
    return leaf == recorder->stop_at;
}

std::string trace(const Recorder& recorder) {
    std::string out;
    for (const Visit& v : recorder.visits)
        out += std::to_string(v.level) + ":" + v.name + (v.folder ? "/ " : " ");
    return out;
}

// a  b/  b/c/  b/c/deep  b/d  e
fs::path make_tree() {
    fs::path dir = scratch_folder();
    touch(dir / "a");
    touch(dir / "b/c/deep");
    touch(dir / "b/d");
    touch(dir / "e");
    return dir;
}

TEST(FSIterateContainer, DepthFirstWithLevelsAndDepthLimits) {
    FSRef root = ref_for(make_tree());
    Recorder all;
    ASSERT_EQ(FSIterateContainer(&root, 0, kFSCatInfoNone, false, true, record, &all), noErr);
    EXPECT_EQ(trace(all), "1:a 1:b/ 2:c/ 3:deep 2:d 1:e ");
    EXPECT_FALSE(all.spec_given);
    EXPECT_TRUE(all.name_given);

    Recorder one;
    ASSERT_EQ(FSIterateContainer(&root, 1, kFSCatInfoNone, true, false, record, &one), noErr);
    EXPECT_EQ(trace(one), "1:a 1:b/ 1:e ");
    EXPECT_TRUE(one.spec_given);
    EXPECT_FALSE(one.name_given);

    Recorder two;
    ASSERT_EQ(FSIterateContainer(&root, 2, kFSCatInfoNone, false, false, record, &two), noErr);
    EXPECT_EQ(trace(two), "1:a 1:b/ 2:c/ 2:d 1:e ");
}

TEST(FSIterateContainer, CallbackStopEndsTheWholeWalk) {
    FSRef root = ref_for(make_tree());
    Recorder recorder;
    recorder.stop_at = "deep";
    ASSERT_EQ(FSIterateContainer(&root, 0, kFSCatInfoNone, false, false, record, &recorder), noErr);
    EXPECT_EQ(trace(recorder), "1:a 1:b/ 2:c/ 3:deep ");
    Recorder at_folder;
    at_folder.stop_at = "b"; // a folder that stops the walk is not entered
    ASSERT_EQ(FSIterateContainer(&root, 0, kFSCatInfoNone, false, false, record, &at_folder),
              noErr);
    EXPECT_EQ(trace(at_folder), "1:a 1:b/ ");
}

TEST(FSIterateContainer, BadArgumentsAndEmptyFolders) {
    fs::path dir = scratch_folder();
    touch(dir / "file");
    FSRef folder = ref_for(dir);
    FSRef file = ref_for(dir / "file");
    Recorder recorder;
    EXPECT_EQ(FSIterateContainer(&folder, 0, 0, false, false, nullptr, &recorder), paramErr);
    EXPECT_EQ(FSIterateContainer(nullptr, 0, 0, false, false, record, &recorder), paramErr);
    EXPECT_EQ(FSIterateContainer(&file, 0, 0, false, false, record, &recorder), errFSNotAFolder);
    fs::create_directory(dir / "empty");
    FSRef empty = ref_for(dir / "empty");
    EXPECT_EQ(FSIterateContainer(&empty, 0, 0, false, false, record, &recorder), noErr);
    EXPECT_TRUE(recorder.visits.empty());
}

} // namespace
