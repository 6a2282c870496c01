// Reading and writing the file a URL names. Writes are atomic: the bytes
// go to a temporary file in the same folder, which is renamed into place.
#include <CoreFoundation/CFDate.h>
#include <CoreFoundation/CFNumber.h>
#include <CoreFoundation/CFURLAccess.h>
#include <CoreFoundation/CFHolder.h>

#include <CoreFoundation/PlatformHost.h>

#include "CFURLInternal.h"
#include "CFValueSupport.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

const CFStringRef kCFURLFileExists = CFSTR("kCFURLFileExists");
const CFStringRef kCFURLFileDirectoryContents = CFSTR("kCFURLFileDirectoryContents");
const CFStringRef kCFURLFileLength = CFSTR("kCFURLFileLength");
const CFStringRef kCFURLFileLastModificationTime = CFSTR("kCFURLFileLastModificationTime");
const CFStringRef kCFURLFilePOSIXMode = CFSTR("kCFURLFilePOSIXMode");
const CFStringRef kCFURLFileOwnerID = CFSTR("kCFURLFileOwnerID");

namespace {

SInt32 error_code_for(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return kCFURLResourceNotFoundError;
    case EACCES:
    case EPERM:
    case EROFS:
        return kCFURLResourceAccessViolationError;
    default:
        return kCFURLUnknownError;
    }
}

bool fail(SInt32* errorCode, SInt32 code) {
    if (errorCode != nullptr)
        *errorCode = code;
    return false;
}

// The absolute file path of a file URL, or false.
bool file_path(CFURLRef url, std::string& path) {
    if (!cf::check_type(url, cf::url_type_id(), "CFURLAccess"))
        return false;
    std::vector<UInt8> buffer(PATH_MAX + 1);
    if (!CFURLGetFileSystemRepresentation(url, true, buffer.data(),
                                          static_cast<CFIndex>(buffer.size())))
        return false;
    path = reinterpret_cast<const char*>(buffer.data());
    return true;
}

bool read_file(const std::string& path, CFAllocatorRef alloc, CFDataRef* out, SInt32* errorCode) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fail(errorCode, error_code_for(errno));
    std::vector<UInt8> bytes;
    UInt8 chunk[65536];
    ssize_t n;
    while ((n = read(fd, chunk, sizeof chunk)) != 0) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            int error = errno;
            close(fd);
            return fail(errorCode, error_code_for(error));
        }
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    close(fd);
    *out = CFDataCreate(alloc, bytes.data(), static_cast<CFIndex>(bytes.size()));
    return true;
}

CFArrayRef directory_contents(CFAllocatorRef alloc, CFURLRef folder, const std::string& path) {
    CFMutableArrayRef entries = CFArrayCreateMutable(alloc, 0, &kCFTypeArrayCallBacks);
    DIR* dir = opendir(path.c_str());
    if (dir == nullptr)
        return entries;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat info {};
        bool is_dir = stat((path + "/" + name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        const cf::Holder<CFStringRef> component(cf::make_cfstring(name));
        if (!component)
            continue; // not UTF-8: cannot be named by a CFString
        const cf::Holder<CFURLRef> child(
            CFURLCreateCopyAppendingPathComponent(alloc, folder, component.get(), is_dir));
        CFArrayAppendValue(entries, child.get());
    }
    closedir(dir);
    return entries;
}

CFNumberRef make_number(CFAllocatorRef alloc, SInt64 value) {
    return CFNumberCreate(alloc, kCFNumberSInt64Type, &value);
}

// The properties of the file; the caller releases the dictionary.
CFDictionaryRef file_properties(CFAllocatorRef alloc, CFURLRef url, const std::string& path,
                                const struct stat* info, CFArrayRef wanted) {
    CFMutableDictionaryRef props = CFDictionaryCreateMutable(
        alloc, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    auto wants = [&](CFStringRef key) {
        return wanted == nullptr ||
               CFArrayContainsValue(wanted, CFRangeMake(0, CFArrayGetCount(wanted)), key);
    };
    auto put = [&](CFStringRef key, CFTypeRef value) {
        CFDictionarySetValue(props, key, value);
        CFRelease(value);
    };
    if (wants(kCFURLFileExists))
        CFDictionarySetValue(props, kCFURLFileExists, info ? kCFBooleanTrue : kCFBooleanFalse);
    if (info == nullptr)
        return props;
    if (wants(kCFURLFileLength))
        put(kCFURLFileLength, make_number(alloc, info->st_size));
    if (wants(kCFURLFilePOSIXMode))
        put(kCFURLFilePOSIXMode, make_number(alloc, info->st_mode & 07777));
    if (wants(kCFURLFileOwnerID))
        put(kCFURLFileOwnerID, make_number(alloc, info->st_uid));
    if (wants(kCFURLFileLastModificationTime))
        put(kCFURLFileLastModificationTime,
            CFDateCreate(alloc, static_cast<double>(info->st_mtim.tv_sec) -
                                    kCFAbsoluteTimeIntervalSince1970 +
                                    static_cast<double>(info->st_mtim.tv_nsec) * 1e-9));
    if (S_ISDIR(info->st_mode) && wants(kCFURLFileDirectoryContents))
        put(kCFURLFileDirectoryContents, directory_contents(alloc, url, path));
    return props;
}

bool write_all(int fd, const UInt8* bytes, CFIndex length) {
    while (length > 0) {
        ssize_t n = write(fd, bytes, static_cast<size_t>(length));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes += n;
        length -= n;
    }
    return true;
}

// The file's real location, so that writing through a symbolic link
// replaces the file it points at, not the link.
std::string resolve_link(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char* real = realpath(path.c_str(), nullptr);
    if (real == nullptr)
        return path;
    std::string resolved = real;
    std::free(real);
    return resolved;
}

// Writes bytes to path atomically with the given mode: a new file beside it, synced and renamed
// into place, then the folder synced so that the rename survives a crash. Returns 0 or an errno.
int replace_file(const std::string& path, const UInt8* bytes, CFIndex length, mode_t mode) {
    size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    std::string temp =
        (slash == std::string::npos ? "." + path : folder + "." + path.substr(slash + 1)) +
        ".XXXXXX";
    int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return errno;
    int error = 0;
    if (fchmod(fd, mode) != 0 || !write_all(fd, bytes, length) || fsync(fd) != 0)
        error = errno != 0 ? errno : EIO;
    if (close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && rename(temp.c_str(), path.c_str()) != 0)
        error = errno;
    if (error != 0) {
        unlink(temp.c_str());
        return error;
    }
    int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return 0;
}

// The mode asked for in the properties, or -1; false for a property we cannot write.
bool requested_mode(CFDictionaryRef props, long* mode) {
    *mode = -1;
    if (props == nullptr)
        return true;
    bool known = true;
    CFDictionaryApplyFunction(
        props,
        [](const void* key, const void*, void* ctx) {
            if (!CFEqual(key, kCFURLFilePOSIXMode))
                *static_cast<bool*>(ctx) = false;
        },
        &known);
    CFTypeRef value = CFDictionaryGetValue(props, kCFURLFilePOSIXMode);
    if (value != nullptr &&
        (CFGetTypeID(value) != CFNumberGetTypeID() ||
         !CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberLongType, mode)))
        return false;
    return known;
}

} // namespace

Boolean CFURLCreateDataAndPropertiesFromResource(CFAllocatorRef alloc, CFURLRef url,
                                                 CFDataRef* resourceData,
                                                 CFDictionaryRef* properties,
                                                 CFArrayRef desiredProperties, SInt32* errorCode) {
    if (resourceData != nullptr)
        *resourceData = nullptr;
    if (properties != nullptr)
        *properties = nullptr;
    std::string path;
    if (!file_path(url, path))
        return fail(errorCode, url ? kCFURLUnknownSchemeError : kCFURLImproperArgumentsError);
    struct stat info {};
    bool exists = stat(path.c_str(), &info) == 0;
    int stat_error = errno;
    if (properties != nullptr)
        *properties =
            file_properties(alloc, url, path, exists ? &info : nullptr, desiredProperties);
    if (resourceData != nullptr) {
        if (!exists)
            return fail(errorCode, error_code_for(stat_error));
        if (!S_ISDIR(info.st_mode) && !read_file(path, alloc, resourceData, errorCode))
            return false;
    }
    if (errorCode != nullptr)
        *errorCode = 0;
    return true;
}

Boolean CFURLWriteDataAndPropertiesToResource(CFURLRef url, CFDataRef dataToWrite,
                                              CFDictionaryRef propertiesToWrite,
                                              SInt32* errorCode) {
    std::string path;
    long mode = -1;
    if (!file_path(url, path))
        return fail(errorCode, url ? kCFURLUnknownSchemeError : kCFURLImproperArgumentsError);
    if (!requested_mode(propertiesToWrite, &mode))
        return fail(errorCode, kCFURLUnknownPropertyKeyError);
    if (dataToWrite == nullptr && CFURLHasDirectoryPath(url)) {
        if (mkdir(path.c_str(), mode >= 0 ? static_cast<mode_t>(mode) : 0777) != 0 &&
            errno != EEXIST)
            return fail(errorCode, error_code_for(errno));
    } else if (dataToWrite != nullptr) {
        path = resolve_link(path);
        struct stat info {};
        mode_t keep = stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0600;
        int error = replace_file(path, CFDataGetBytePtr(dataToWrite), CFDataGetLength(dataToWrite),
                                 mode >= 0 ? static_cast<mode_t>(mode) : keep);
        if (error != 0)
            return fail(errorCode, error_code_for(error));
    } else if (mode >= 0 && chmod(path.c_str(), static_cast<mode_t>(mode)) != 0) {
        return fail(errorCode, error_code_for(errno));
    }
    if (errorCode != nullptr)
        *errorCode = 0;
    return true;
}

int PlatformWriteFileAtomically(const char* path, const UInt8* bytes, CFIndex length, UInt32 mode) {
    if (path == nullptr || *path == '\0' || length < 0 || (bytes == nullptr && length > 0))
        return EINVAL;
    struct stat info {};
    if (lstat(path, &info) == 0) {
        if (S_ISLNK(info.st_mode))
            return ELOOP;
        if (S_ISDIR(info.st_mode))
            return EISDIR;
    }
    return replace_file(path, bytes, length, static_cast<mode_t>(mode & 07777));
}
