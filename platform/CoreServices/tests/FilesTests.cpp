#include <CoreServices/CoreServices.h>

#include "TestSupport.h"

#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

// Packed Mac structures: fields are copied (T{field}) before gtest binds them to references.
namespace {

void write_file(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

FSRef ref_for(const fs::path& path) {
    FSRef ref;
    Boolean is_dir = false;
    EXPECT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, &is_dir), noErr)
        << path;
    return ref;
}

std::string path_of(const FSRef& ref) {
    UInt8 buffer[4096];
    OSStatus err = FSRefMakePath(&ref, buffer, sizeof(buffer));
    return err == noErr ? std::string(reinterpret_cast<char*>(buffer))
                        : "error " + std::to_string(err);
}

OSErr ref_in(const FSRef& parent, const std::u16string& name, FSRef* out) {
    return FSMakeFSRefUnicode(&parent, name.size(), reinterpret_cast<const UniChar*>(name.data()),
                              0, out);
}

std::string spec_name(const FSSpec& spec) {
    return std::string(reinterpret_cast<const char*>(spec.name + 1), spec.name[0]);
}

TEST(FSRef, PathRoundTripCopiesAndBadInput) {
    fs::path dir = cstest::scratch_folder();
    write_file(dir / "file.txt", "hello");
    fs::create_directory_symlink(dir, dir / "link");
    FSRef ref;
    Boolean is_dir = true;
    ASSERT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>((dir / "link/./file.txt").c_str()), &ref,
                            &is_dir),
              noErr);
    EXPECT_FALSE(is_dir);
    FSRef copy;
    std::memcpy(&copy, &ref, sizeof(FSRef)); // plain bytes: copies stay valid
    EXPECT_EQ(path_of(copy), (dir / "file.txt").string());

    UInt8 small[8];
    EXPECT_EQ(FSRefMakePath(&ref, small, sizeof(small)), pathTooLongErr);
    EXPECT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>((dir / "none").c_str()), &ref, nullptr),
              fnfErr);
    FSRef junk;
    std::memset(&junk, 0x5A, sizeof(junk));
    EXPECT_EQ(FSRefMakePath(&junk, small, sizeof(small)), errFSBadFSRef);
    EXPECT_EQ(FSGetCatalogInfo(&junk, kFSCatInfoNone, nullptr, nullptr, nullptr, nullptr),
              errFSBadFSRef);
}

TEST(FSRef, CatalogInfoOfFilesFoldersAndTheRoot) {
    fs::path dir = cstest::scratch_folder();
    write_file(dir / "data.bin", std::string(1000, 'x'));
    fs::create_directory(dir / "sub");
    write_file(dir / "sub" / "inner", "");
    // 2001-01-01 00:00:00 UTC, 3061152000 seconds after 1904-01-01.
    timespec times[2] = {{978307200, 0}, {978307200, 500000000}};
    ASSERT_EQ(utimensat(AT_FDCWD, (dir / "data.bin").c_str(), times, 0), 0);

    FSRef file = ref_for(dir / "data.bin");
    FSCatalogInfo info{};
    HFSUniStr255 name;
    FSSpec spec;
    FSRef parent;
    ASSERT_EQ(FSGetCatalogInfo(&file, kFSCatInfoGettableInfo, &info, &name, &spec, &parent), noErr);
    EXPECT_EQ(info.nodeFlags & kFSNodeIsDirectoryMask, 0);
    EXPECT_EQ(info.dataLogicalSize, 1000u);
    EXPECT_EQ(info.volume, kFSPosixVolumeRefNum);
    EXPECT_EQ(info.contentModDate.highSeconds, 0);
    EXPECT_EQ(UInt32{info.contentModDate.lowSeconds}, 3061152000u);
    EXPECT_EQ(info.contentModDate.fraction, 0x8000);
    EXPECT_EQ(std::u16string(reinterpret_cast<char16_t*>(name.unicode), name.length), u"data.bin");
    EXPECT_EQ(spec_name(spec), "data.bin");
    EXPECT_EQ(path_of(parent), dir.string());

    FSCatalogInfo folder{};
    ASSERT_EQ(FSGetCatalogInfo(&parent, kFSCatInfoNodeFlags | kFSCatInfoNodeID | kFSCatInfoValence,
                               &folder, nullptr, nullptr, nullptr),
              noErr);
    EXPECT_NE(folder.nodeFlags & kFSNodeIsDirectoryMask, 0);
    EXPECT_EQ(folder.nodeID, info.parentDirID);
    EXPECT_EQ(folder.nodeID, static_cast<UInt32>(spec.parID));
    EXPECT_EQ(folder.valence, 2u);

    FSRef root = ref_for("/");
    FSRef none;
    std::memset(&none, 1, sizeof(none));
    ASSERT_EQ(FSGetCatalogInfo(&root, kFSCatInfoNodeID | kFSCatInfoParentDirID, &info, nullptr,
                               nullptr, &none),
              noErr);
    EXPECT_EQ(info.nodeID, static_cast<UInt32>(fsRtDirID));
    EXPECT_EQ(info.parentDirID, static_cast<UInt32>(fsRtParID));
    EXPECT_EQ(none.hidden[0], 0);

    EXPECT_EQ(FSGetCatalogInfo(&file, 0x00040000, &info, nullptr, nullptr, nullptr),
              errFSBadInfoBitmap);
    EXPECT_EQ(FSGetCatalogInfo(&file, kFSCatInfoNodeID, nullptr, nullptr, nullptr, nullptr),
              errFSMissingCatInfo);
}

TEST(FSRef, UnicodeNamesLookupAndComparison) {
    fs::path dir = cstest::scratch_folder();
    write_file(dir / "Grüße.txt", "a");
    write_file(dir / "a:b", "b"); // a POSIX colon is a slash in Mac names
    ASSERT_EQ(link((dir / "Grüße.txt").c_str(), (dir / "hard").c_str()), 0);
    FSRef folder = ref_for(dir);
    FSRef found;
    ASSERT_EQ(ref_in(folder, u"Grüße.txt", &found), noErr);
    FSRef direct = ref_for(dir / "Grüße.txt");
    EXPECT_EQ(FSCompareFSRefs(&found, &direct), noErr);
    ASSERT_EQ(ref_in(folder, u"a/b", &found), noErr);
    EXPECT_EQ(path_of(found), (dir / "a:b").string());

    FSRef hard;
    ASSERT_EQ(ref_in(folder, u"hard", &hard), noErr);
    EXPECT_EQ(FSCompareFSRefs(&hard, &direct), noErr); // one file, two names
    EXPECT_EQ(FSCompareFSRefs(&found, &direct), errFSRefsDifferent);

    EXPECT_EQ(ref_in(folder, u"missing", &found), fnfErr);
    EXPECT_EQ(ref_in(folder, u"..", &found), bdNamErr);
    EXPECT_EQ(ref_in(folder, u"", &found), errFSMissingName);
    EXPECT_EQ(ref_in(direct, u"x", &found), errFSNotAFolder);
}

TEST(FSRef, CreateAndDelete) {
    fs::path dir = cstest::scratch_folder();
    FSRef folder = ref_for(dir);
    std::u16string sub = u"Sub";
    FSRef sub_ref;
    UInt32 sub_id = 0;
    ASSERT_EQ(FSCreateDirectoryUnicode(&folder, sub.size(),
                                       reinterpret_cast<const UniChar*>(sub.data()), kFSCatInfoNone,
                                       nullptr, &sub_ref, nullptr, &sub_id),
              noErr);
    FSCatalogInfo info{};
    ASSERT_EQ(FSGetCatalogInfo(&sub_ref, kFSCatInfoNodeID, &info, nullptr, nullptr, nullptr),
              noErr);
    EXPECT_EQ(info.nodeID, sub_id);

    FSCatalogInfo mode{};
    FSPermissionInfo permissions{};
    permissions.mode = 0600;
    std::memcpy(mode.permissions, &permissions, sizeof(permissions));
    std::u16string file = u"f.plist";
    FSRef file_ref;
    FSSpec spec;
    auto create = [&] {
        return FSCreateFileUnicode(&sub_ref, file.size(),
                                   reinterpret_cast<const UniChar*>(file.data()),
                                   kFSCatInfoPermissions, &mode, &file_ref, &spec);
    };
    ASSERT_EQ(create(), noErr);
    EXPECT_EQ(fs::status(dir / "Sub" / "f.plist").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(SInt32{spec.parID}, static_cast<SInt32>(sub_id));
    EXPECT_EQ(create(), dupFNErr);

    EXPECT_EQ(FSDeleteObject(&sub_ref), fBsyErr); // not empty
    EXPECT_EQ(FSDeleteObject(&file_ref), noErr);
    EXPECT_FALSE(fs::exists(dir / "Sub" / "f.plist"));
    EXPECT_EQ(path_of(file_ref), "error " + std::to_string(fnfErr)); // stale, not dangling
    EXPECT_EQ(FSDeleteObject(&file_ref), fnfErr);
    EXPECT_EQ(FSDeleteObject(&sub_ref), noErr);
}

TEST(FSSpec, NamesIdsAndRoundTrips) {
    fs::path dir = cstest::scratch_folder();
    const std::string long_name(70, 'n');
    write_file(dir / "Überblick.txt", "");
    write_file(dir / (long_name + ".gif"), "");
    write_file(dir / "日本語.png", "");
    FSRef folder = ref_for(dir);
    FSCatalogInfo info{};
    ASSERT_EQ(FSGetCatalogInfo(&folder, kFSCatInfoNodeID, &info, nullptr, nullptr, nullptr), noErr);
    const SInt32 dir_id = static_cast<SInt32>(info.nodeID);

    FSSpec spec;
    const unsigned char roman[] = "\x0D\x86"
                                  "berblick.txt"; // Ü is 0x86 in Mac Roman
    ASSERT_EQ(FSMakeFSSpec(0, dir_id, roman, &spec), noErr);
    EXPECT_EQ(SInt32{spec.parID}, dir_id);
    FSRef back;
    ASSERT_EQ(FSpMakeFSRef(&spec, &back), noErr);
    EXPECT_EQ(path_of(back), (dir / "Überblick.txt").string());

    // Names that don't fit a Str63 in Mac Roman are shortened with the node ID
    // and still lead back to their file.
    for (const std::string& leaf : {long_name + ".gif", std::string("日本語.png")}) {
        FSRef ref = ref_for(dir / leaf);
        ASSERT_EQ(FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, &spec, nullptr), noErr);
        std::string shortened = spec_name(spec);
        EXPECT_LE(shortened.size(), 63u);
        EXPECT_NE(shortened.find('#'), std::string::npos) << shortened;
        EXPECT_EQ(shortened.substr(shortened.size() - 4), leaf.substr(leaf.size() - 4));
        ASSERT_EQ(FSpMakeFSRef(&spec, &back), noErr) << shortened;
        EXPECT_EQ(path_of(back), (dir / leaf).string());
    }

    // A spec for an item not made yet is valid; the item can then be found.
    const unsigned char later[] = "\x05later";
    ASSERT_EQ(FSMakeFSSpec(kFSPosixVolumeRefNum, dir_id, later, &spec), fnfErr);
    EXPECT_EQ(FSpMakeFSRef(&spec, &back), fnfErr);
    write_file(dir / "later", "");
    EXPECT_EQ(FSpMakeFSRef(&spec, &back), noErr);

    ASSERT_EQ(FSMakeFSSpec(0, dir_id, nullptr, &spec), noErr); // the folder itself
    EXPECT_EQ(spec_name(spec), dir.filename().string());
    EXPECT_EQ(FSMakeFSSpec(0, 0x7FFFFFF0, later, &spec), dirNFErr);
    EXPECT_EQ(FSMakeFSSpec(7, dir_id, later, &spec), nsvErr);
    EXPECT_EQ(FSMakeFSSpec(0, dir_id, reinterpret_cast<const unsigned char*>("\x03:ab"), &spec),
              bdNamErr);
}

// The names an iterator hands out, one request of `batch` items at a time.
std::vector<std::string> drain(FSIterator it, ItemCount batch, std::vector<UInt16>* flags,
                               FSCatalogInfoBitmap which = kFSCatInfoNodeFlags) {
    std::vector<std::string> seen;
    std::vector<FSCatalogInfo> infos(batch);
    std::vector<HFSUniStr255> names(batch);
    std::vector<FSRef> refs(batch);
    ItemCount got = 0;
    OSErr err;
    while ((err = FSGetCatalogInfoBulk(it, batch, &got, nullptr, which, infos.data(), refs.data(),
                                       nullptr, names.data())) == noErr) {
        EXPECT_GT(got, 0u);
        for (ItemCount i = 0; i < got; ++i) {
            // The test names are ASCII; a removed item has a name but no path.
            seen.emplace_back(names[i].unicode, names[i].unicode + names[i].length);
            if (flags)
                flags->push_back(infos[i].nodeFlags);
        }
    }
    EXPECT_EQ(err, errFSNoMoreItems);
    EXPECT_EQ(got, 0u);
    return seen;
}

TEST(FSIterator, HandsOutAFolderReadOnceInNameOrder) {
    fs::path dir = cstest::scratch_folder();
    for (const char* name : {"b", "a", "gone"})
        write_file(dir / name, "");
    fs::create_directory(dir / "c");
    FSRef folder = ref_for(dir);
    FSIterator it = nullptr;
    FSIterator looking = nullptr;
    ASSERT_EQ(FSOpenIterator(&folder, kFSIterateFlat, &it), noErr);
    ASSERT_EQ(FSOpenIterator(&folder, kFSIterateFlat, &looking), noErr);
    // Read at open: later additions are not seen. Flags and names come from
    // the listing, so a removal shows only where the item itself is looked at.
    write_file(dir / "added", "");
    fs::remove(dir / "gone");
    std::vector<UInt16> flags;
    EXPECT_EQ(drain(it, 1, &flags), (std::vector<std::string>{"a", "b", "c", "gone"}));
    EXPECT_EQ(flags, (std::vector<UInt16>{0, 0, kFSNodeIsDirectoryMask, 0}));
    EXPECT_EQ(FSCloseIterator(it), noErr);
    EXPECT_EQ(drain(looking, 2, nullptr, kFSCatInfoNodeFlags | kFSCatInfoDataSizes),
              (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(FSCloseIterator(looking), noErr);

    ASSERT_EQ(FSOpenIterator(&folder, kFSIterateFlat, &it), noErr);
    EXPECT_EQ(drain(it, 10, nullptr), (std::vector<std::string>{"a", "added", "b", "c"}));
    EXPECT_EQ(FSGetCatalogInfoBulk(it, 0, nullptr, nullptr, 0, nullptr, nullptr, nullptr, nullptr),
              errFSBadItemCount);
    EXPECT_EQ(FSGetCatalogInfoBulk(it, 1, nullptr, nullptr, kFSCatInfoNodeFlags, nullptr, nullptr,
                                   nullptr, nullptr),
              errFSMissingCatInfo);
    EXPECT_EQ(FSCloseIterator(it), noErr);
}

TEST(FSIterator, SpecsFromTheIteratorLeadBackToTheItems) {
    fs::path dir = cstest::scratch_folder();
    write_file(dir / std::string(80, 'z'), "");
    write_file(dir / "short", "");
    FSRef folder = ref_for(dir);
    FSIterator it = nullptr;
    ASSERT_EQ(FSOpenIterator(&folder, kFSIterateFlat, &it), noErr);
    FSRef refs[4];
    FSSpec specs[4];
    ItemCount got = 0;
    ASSERT_EQ(
        FSGetCatalogInfoBulk(it, 4, &got, nullptr, kFSCatInfoNone, nullptr, refs, specs, nullptr),
        noErr);
    ASSERT_EQ(got, 2u);
    for (ItemCount i = 0; i < got; ++i) {
        FSRef back;
        ASSERT_EQ(FSpMakeFSRef(&specs[i], &back), noErr);
        EXPECT_EQ(FSCompareFSRefs(&back, &refs[i]), noErr);
    }
    FSCloseIterator(it);
}

TEST(FSIterator, RefusesWhatItCannotIterate) {
    fs::path dir = cstest::scratch_folder();
    write_file(dir / "file", "");
    fs::create_directory(dir / "locked");
    FSRef file = ref_for(dir / "file");
    FSRef folder = ref_for(dir);
    FSIterator it = reinterpret_cast<FSIterator>(&file);
    EXPECT_EQ(FSOpenIterator(&file, kFSIterateFlat, &it), errFSNotAFolder);
    EXPECT_EQ(it, nullptr);
    EXPECT_EQ(FSOpenIterator(&folder, kFSIterateSubtree, &it), errFSIteratorNotSupported);
    EXPECT_EQ(FSOpenIterator(&folder, 0x100, &it), errFSBadIteratorFlags);
    EXPECT_EQ(FSCloseIterator(nullptr), errFSIteratorNotFound);
    if (geteuid() != 0) { // root reads any folder
        FSRef locked = ref_for(dir / "locked");
        chmod((dir / "locked").c_str(), 0);
        EXPECT_EQ(FSOpenIterator(&locked, kFSIterateFlat, &it), afpAccessDenied);
        chmod((dir / "locked").c_str(), 0700);
    }
}

} // namespace

namespace {

TEST(FSRef, FileUrlsRoundTrip) {
    fs::path dir = cstest::scratch_folder();
    write_file(dir / "a file.txt", "");
    FSRef file = ref_for(dir / "a file.txt");
    FSRef folder = ref_for(dir);
    CFURLRef file_url = CFURLCreateFromFSRef(nullptr, &file);
    CFURLRef folder_url = CFURLCreateFromFSRef(nullptr, &folder);
    ASSERT_TRUE(file_url && folder_url);
    EXPECT_FALSE(CFURLHasDirectoryPath(file_url));
    EXPECT_TRUE(CFURLHasDirectoryPath(folder_url));
    FSRef back;
    ASSERT_TRUE(CFURLGetFSRef(file_url, &back));
    EXPECT_EQ(FSCompareFSRefs(&back, &file), noErr);

    CFURLRef missing =
        CFURLCreateCopyAppendingPathComponent(nullptr, folder_url, CFSTR("none"), false);
    EXPECT_FALSE(CFURLGetFSRef(missing, &back));
    CFURLRef web = CFURLCreateWithString(nullptr, CFSTR("http://example.com/x"), nullptr);
    EXPECT_FALSE(CFURLGetFSRef(web, &back));
    FSDeleteObject(&file);
    EXPECT_EQ(CFURLCreateFromFSRef(nullptr, &file), nullptr);
    for (CFURLRef url : {file_url, folder_url, missing, web})
        CFRelease(url);
}

} // namespace
