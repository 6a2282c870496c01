// The Folder Manager: special folders mapped onto the XDG base directories
// (the table is in <CoreServices/Folders.h>).
#include <CoreServices/Folders.h>

#include "FileNodes.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace cs {
namespace {

enum class Domain { user, local, none };

Domain domain_for(FSVolumeRefNum vRefNum) {
    switch (vRefNum) {
    case kUserDomain:
        return Domain::user;
    case kOnSystemDisk:
    case kOnAppropriateDisk:
    case kLocalDomain:
    case kFSPosixVolumeRefNum:
    case 0:
        return Domain::local;
    default:
        return Domain::none;
    }
}

// An environment variable that names an absolute path; relative ones are
// ignored, as the XDG rules say.
bool absolute_from_env(const char* name, std::string& out) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/')
        return false;
    out = value;
    return true;
}

// The first absolute entry of a colon-separated list such as XDG_DATA_DIRS.
bool first_from_list(const char* name, std::string& out) {
    const char* value = std::getenv(name);
    if (value == nullptr)
        return false;
    std::string list(value);
    for (size_t start = 0; start <= list.size();) {
        size_t colon = list.find(':', start);
        std::string entry = list.substr(start, colon == std::string::npos ? colon : colon - start);
        if (!entry.empty() && entry[0] == '/') {
            out = entry;
            return true;
        }
        if (colon == std::string::npos)
            break;
        start = colon + 1;
    }
    return false;
}

std::string home_folder() {
    std::string home;
    if (absolute_from_env("HOME", home))
        return home;
    const passwd* user = getpwuid(getuid());
    return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "/";
}

// The folder's path for a domain, or false when the domain has no such folder.
bool folder_path(Domain domain, OSType type, std::string& out) {
    if (domain == Domain::none)
        return false;
    const bool user = domain == Domain::user;
    switch (type) {
    case kApplicationSupportFolderType:
        if (user)
            return absolute_from_env("XDG_DATA_HOME", out) ||
                   (out = home_folder() + "/.local/share", true);
        return absolute_from_env("CARBONRT_APPLICATION_SUPPORT_DIR", out) ||
               first_from_list("XDG_DATA_DIRS", out) || (out = "/usr/local/share", true);
    case kPreferencesFolderType:
        if (user)
            return absolute_from_env("CARBONRT_PREFERENCES_DIR", out) ||
                   absolute_from_env("XDG_CONFIG_HOME", out) ||
                   (out = home_folder() + "/.config", true);
        return first_from_list("XDG_CONFIG_DIRS", out) || (out = "/etc/xdg", true);
    case kTemporaryFolderType:
        return absolute_from_env("TMPDIR", out) || (out = "/tmp", true);
    default:
        return false;
    }
}

// mkdir -p with the given mode for each folder it makes.
OSErr make_folders(const std::string& path, mode_t mode) {
    struct stat info;
    if (stat(path.c_str(), &info) == 0)
        return S_ISDIR(info.st_mode) ? OSErr{noErr} : OSErr{errFSNotAFolder};
    if (errno != ENOENT)
        return error_from_errno(errno);
    if (path != "/") {
        if (OSErr err = make_folders(parent_path(path), mode); err != noErr)
            return err;
    }
    if (mkdir(path.c_str(), mode) != 0 && errno != EEXIST)
        return error_from_errno(errno);
    return noErr;
}

} // namespace
} // namespace cs

OSErr FSFindFolder(FSVolumeRefNum vRefNum, OSType folderType, Boolean createFolder,
                   FSRef* foundRef) {
    if (foundRef == nullptr)
        return paramErr;
    const cs::Domain domain = cs::domain_for(vRefNum);
    std::string path;
    if (!cs::folder_path(domain, folderType, path))
        return fnfErr;
    path = cs::normalize_path(path);
    OSErr err = cs::check_folder(path);
    if (err == fnfErr && createFolder)
        err = cs::make_folders(path, domain == cs::Domain::user ? 0700 : 0755);
    if (err != noErr)
        return err;
    cs::make_ref(path, foundRef);
    return noErr;
}
