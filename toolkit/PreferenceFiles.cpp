// Maker data files and per-user preference files: whole XML property lists, found through the
// Folder Manager, read in one go and replaced in one go through the atomic URL writer.
#include "PreferenceFiles.h"
#include "PreferenceFilesInternal.h"
#include <CoreFoundation/CFHolder.h>
#include <CoreFoundation/CFDiagnostics.h>

#include <climits>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

namespace toolkit {
namespace {

const CFOptionFlags kReadMutable = kCFPropertyListMutableContainersAndLeaves;

std::string path_of(CFURLRef url) {
    char path[PATH_MAX];
    if (!CFURLGetFileSystemRepresentation(url, true, reinterpret_cast<UInt8*>(path), sizeof(path)))
        return std::string();
    return path;
}

std::string utf8_of(CFStringRef string) {
    if (string == nullptr)
        return std::string();
    CFIndex length = CFStringGetLength(string);
    CFIndex size = CFStringGetMaximumSizeForEncoding(length, kCFStringEncodingUTF8) + 1;
    std::vector<char> buffer(static_cast<size_t>(size));
    if (!CFStringGetCString(string, buffer.data(), size, kCFStringEncodingUTF8))
        return std::string();
    return buffer.data();
}

// The maker folder's "Tovek" inside the local Application Support folder, created when
// missing; false when it cannot be had.
bool find_maker_folder(FSRef* supportRef, FSRef* makerRef) {
    if (FSFindFolder(kLocalDomain, kApplicationSupportFolderType, kDontCreateFolder, supportRef) !=
        noErr)
        return false;
    static const UniChar kMakerName[] = {'T', 'o', 'v', 'e', 'k'};
    const UniCharCount length = sizeof(kMakerName) / sizeof(kMakerName[0]);
    OSErr err = FSMakeFSRefUnicode(supportRef, length, kMakerName, kTextEncodingUnknown, makerRef);
    if (err == fnfErr)
        err = FSCreateDirectoryUnicode(supportRef, length, kMakerName, kFSCatInfoNone, nullptr,
                                       makerRef, nullptr, nullptr);
    return err == noErr;
}

} // namespace

CFPropertyListRef copy_property_list_file(CFURLRef url, bool* damaged, CFStringRef* errorString) {
    *damaged = false;
    *errorString = nullptr;
    CFDataRef bytes = nullptr;
    SInt32 error = 0;
    const bool read =
        CFURLCreateDataAndPropertiesFromResource(nullptr, url, &bytes, nullptr, nullptr, &error);
    const cf::Holder<CFDataRef> held(bytes);
    if (!read || error != 0 || bytes == nullptr)
        return nullptr;
    CFPropertyListRef plist =
        CFPropertyListCreateFromXMLData(nullptr, bytes, kReadMutable, errorString);
    *damaged = plist == nullptr;
    return plist;
}

void keep_damaged_file(const char* who, CFURLRef url, CFStringRef reason) {
    const std::string path = path_of(url);
    if (path.empty())
        return;
    const std::string kept = path + ".damaged";
    // Only where the damage is: a preference file may hold what the user typed, and that
    // stays off the console.
    const std::string why = utf8_of(reason);
    const size_t at = why.rfind(" on line ");
    const long line = at != std::string::npos ? std::atol(why.c_str() + at + 9) : 0;
    if (std::rename(path.c_str(), kept.c_str()) == 0)
        cf::report_in_file(who, path, line, "not a property list; kept as %s", kept.c_str());
}

bool write_property_list_file(CFURLRef url, CFPropertyListRef plist, SInt32* errorCode) {
    *errorCode = 0;
    cf::Holder<CFDataRef> xml(plist != nullptr ? CFPropertyListCreateXMLData(nullptr, plist)
                                               : nullptr);
    if (!xml)
        return false;
    return CFURLWriteDataAndPropertiesToResource(url, xml.get(), nullptr, errorCode);
}

CFURLRef copy_user_preference_url(CFStringRef fileName) {
    FSRef folder;
    if (fileName == nullptr ||
        FSFindFolder(kUserDomain, kPreferencesFolderType, kDontCreateFolder, &folder) != noErr)
        return nullptr;
    cf::Holder<CFURLRef> folderURL(CFURLCreateFromFSRef(nullptr, &folder));
    if (!folderURL)
        return nullptr;
    return CFURLCreateCopyAppendingPathComponent(nullptr, folderURL.get(), fileName, false);
}

} // namespace toolkit

CFURLRef CopyPreferenceFileURL(CFStringRef fileName) {
    FSRef support, maker;
    if (fileName == nullptr || !toolkit::find_maker_folder(&support, &maker))
        return nullptr;
    cf::Holder<CFURLRef> makerURL(CFURLCreateFromFSRef(nullptr, &maker));
    if (!makerURL)
        return nullptr;
    // Appending as a path component escapes what URL text cannot hold (spaces, '%', '#'),
    // which gives the same URL as plain concatenation for every ordinary name.
    return CFURLCreateCopyAppendingPathComponent(nullptr, makerURL.get(), fileName, false);
}

CFPropertyListRef CopyXMLData(CFStringRef fileName) {
    cf::Holder<CFURLRef> url(CopyPreferenceFileURL(fileName));
    if (!url)
        return nullptr;
    bool damaged = false;
    CFStringRef reason = nullptr;
    CFPropertyListRef plist = toolkit::copy_property_list_file(url.get(), &damaged, &reason);
    const cf::Holder<CFStringRef> held_reason(reason);
    if (reason != nullptr) {
        // The reader's own words, kept as they always were.
        std::fputs("CopyXMLData()::CFPropertyListCreateFromXMLData() error: ", stderr);
        CFShow(reason);
    }
    if (damaged)
        toolkit::keep_damaged_file(__func__, url.get(), reason);
    return plist;
}

CFPropertyListRef CopyUserPreferences(CFStringRef fileName) {
    cf::Holder<CFURLRef> url(toolkit::copy_user_preference_url(fileName));
    if (!url)
        return nullptr;
    bool damaged = false;
    CFStringRef reason = nullptr;
    CFPropertyListRef plist = toolkit::copy_property_list_file(url.get(), &damaged, &reason);
    const cf::Holder<CFStringRef> held_reason(reason);
    if (damaged)
        toolkit::keep_damaged_file(__func__, url.get(), reason);
    if (plist != nullptr)
        return plist;
    return CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks,
                                     &kCFTypeDictionaryValueCallBacks);
}

Boolean WriteUserPreferences(CFStringRef fileName, CFPropertyListRef propertyList) {
    cf::Holder<CFURLRef> url(toolkit::copy_user_preference_url(fileName));
    if (!url || propertyList == nullptr ||
        !CFPropertyListIsValid(propertyList, kCFPropertyListXMLFormat_v1_0))
        return false;
    SInt32 error = 0;
    if (!toolkit::write_property_list_file(url.get(), propertyList, &error)) {
        // The driver's own words, kept as they were (as is CopyXMLData's).
        std::fprintf(stderr, "WriteUserPreferences() failed (%d)\n", static_cast<int>(error));
        return false;
    }
    return true;
}
