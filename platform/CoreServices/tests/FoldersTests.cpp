#include <CoreServices/CoreServices.h>

#include "TestSupport.h"

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

std::string find(FSVolumeRefNum domain, OSType type, Boolean create, OSErr expected = noErr) {
    FSRef ref;
    OSErr err = FSFindFolder(domain, type, create, &ref);
    EXPECT_EQ(err, expected);
    if (err != noErr)
        return "";
    UInt8 path[4096];
    EXPECT_EQ(FSRefMakePath(&ref, path, sizeof(path)), noErr);
    return reinterpret_cast<char*>(path);
}

TEST(FSFindFolder, OverridesThenXdgThenHome) {
    fs::path dir = cstest::scratch_folder();
    for (const char* sub :
         {"prefs", "config", "home/.config", "appsup", "data1", "datahome", "home/.local/share"})
        fs::create_directories(dir / sub);
    cstest::ScopedEnv home("HOME", (dir / "home").c_str());
    {
        cstest::ScopedEnv prefs("CARBONRT_PREFERENCES_DIR", (dir / "prefs").c_str());
        cstest::ScopedEnv support("CARBONRT_APPLICATION_SUPPORT_DIR", (dir / "appsup").c_str());
        EXPECT_EQ(find(kUserDomain, kPreferencesFolderType, kDontCreateFolder), dir / "prefs");
        EXPECT_EQ(find(kLocalDomain, kApplicationSupportFolderType, kDontCreateFolder),
                  dir / "appsup");
        EXPECT_EQ(find(kOnSystemDisk, kApplicationSupportFolderType, kDontCreateFolder),
                  dir / "appsup");
    }
    cstest::ScopedEnv prefs("CARBONRT_PREFERENCES_DIR", nullptr);
    cstest::ScopedEnv support("CARBONRT_APPLICATION_SUPPORT_DIR", nullptr);
    {
        cstest::ScopedEnv config("XDG_CONFIG_HOME", (dir / "config").c_str());
        std::string dirs = "relative/ignored:" + (dir / "data1").string() + ":/usr/share";
        cstest::ScopedEnv data_dirs("XDG_DATA_DIRS", dirs.c_str());
        cstest::ScopedEnv data_home("XDG_DATA_HOME", (dir / "datahome").c_str());
        EXPECT_EQ(find(kUserDomain, kPreferencesFolderType, kDontCreateFolder), dir / "config");
        EXPECT_EQ(find(kLocalDomain, kApplicationSupportFolderType, kDontCreateFolder),
                  dir / "data1");
        EXPECT_EQ(find(kUserDomain, kApplicationSupportFolderType, kDontCreateFolder),
                  dir / "datahome");
    }
    cstest::ScopedEnv config("XDG_CONFIG_HOME", "not/absolute");
    cstest::ScopedEnv data_home("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(find(kUserDomain, kPreferencesFolderType, kDontCreateFolder), dir / "home/.config");
    EXPECT_EQ(find(kUserDomain, kApplicationSupportFolderType, kDontCreateFolder),
              dir / "home/.local/share");
}

TEST(FSFindFolder, CreatesOnlyWhenAskedWithPrivateModeForTheUser) {
    fs::path dir = cstest::scratch_folder();
    cstest::ScopedEnv prefs("CARBONRT_PREFERENCES_DIR", (dir / "a/Preferences").c_str());
    cstest::ScopedEnv support("CARBONRT_APPLICATION_SUPPORT_DIR", (dir / "Support").c_str());
    find(kUserDomain, kPreferencesFolderType, kDontCreateFolder, fnfErr);
    EXPECT_FALSE(fs::exists(dir / "a"));
    EXPECT_EQ(find(kUserDomain, kPreferencesFolderType, kCreateFolder), dir / "a/Preferences");
    struct stat info;
    ASSERT_EQ(stat((dir / "a/Preferences").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(find(kUserDomain, kPreferencesFolderType, kDontCreateFolder), dir / "a/Preferences");
    EXPECT_EQ(find(kLocalDomain, kApplicationSupportFolderType, kCreateFolder), dir / "Support");
    ASSERT_EQ(stat((dir / "Support").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0755, 0755u & ~static_cast<unsigned>(umask(umask(0))));
}

TEST(FSFindFolder, DomainsAndTypesWithoutSuchFolders) {
    find(kSystemDomain, kPreferencesFolderType, kCreateFolder, fnfErr);
    find(kNetworkDomain, kApplicationSupportFolderType, kCreateFolder, fnfErr);
    find(kUserDomain, 0x666F6E74 /* "font" */, kCreateFolder, fnfErr);
    EXPECT_EQ(FSFindFolder(kUserDomain, kPreferencesFolderType, kDontCreateFolder, nullptr),
              paramErr);
    cstest::ScopedEnv file("CARBONRT_PREFERENCES_DIR", "/etc/hostname");
    find(kUserDomain, kPreferencesFolderType, kDontCreateFolder, errFSNotAFolder);
}

} // namespace
