// FSSpecs: objects by volume, parent directory ID and Mac Roman name.
#include "FileNodes.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace cs {
namespace {

bool known_volume(FSVolumeRefNum vRefNum) {
    return vRefNum == 0 || vRefNum == kFSPosixVolumeRefNum;
}

// The folder that a directory ID names; dirID 0 is the current directory.
OSErr folder_for_dir_id(SInt32 dirID, std::string& folder) {
    if (dirID == 0) {
        std::error_code error;
        folder = normalize_path(std::filesystem::current_path(error).string());
        return error ? error_from_errno(error.value()) : OSErr{noErr};
    }
    if (!path_for_node_id(dirID, folder))
        return dirNFErr;
    OSErr err = check_folder(folder);
    return err == fnfErr || err == errFSNotAFolder ? OSErr{dirNFErr} : err;
}

// The path an FSSpec denotes, whether or not the object exists.
OSErr path_from_spec(const FSSpec* spec, std::string& path) {
    if (!known_volume(spec->vRefNum))
        return nsvErr;
    if (spec->parID == fsRtParID) {
        path = "/";
        return noErr;
    }
    std::string folder;
    if (OSErr err = folder_for_dir_id(spec->parID, folder); err != noErr)
        return err;
    path = spec->name[0] == 0 ? folder : path_from_spec_name(folder, spec->name);
    return noErr;
}

} // namespace
} // namespace cs

OSErr FSMakeFSSpec(FSVolumeRefNum vRefNum, SInt32 dirID, ConstStr255Param fileName, FSSpec* spec) {
    if (spec == nullptr)
        return paramErr;
    if (!cs::known_volume(vRefNum))
        return nsvErr;
    std::string folder;
    if (OSErr err = cs::folder_for_dir_id(dirID, folder); err != noErr)
        return err;
    if (fileName == nullptr || fileName[0] == 0) {
        cs::fill_spec(folder, spec);
        return noErr;
    }
    // FIXME: partial path names (":folder:file") are not understood yet.
    if (std::memchr(fileName + 1, ':', fileName[0]) != nullptr || fileName[0] > 63)
        return bdNamErr;
    std::string path = cs::path_from_spec_name(folder, fileName);
    struct stat info;
    OSErr err = cs::stat_node(path, info);
    if (err == noErr) {
        cs::fill_spec(path, spec);
        return noErr;
    }
    if (err != fnfErr)
        return err;
    // A spec for an item still to be made: valid, but the item is not there.
    spec->vRefNum = kFSPosixVolumeRefNum;
    spec->parID = cs::node_id_for_path(folder);
    std::memcpy(spec->name, fileName, fileName[0] + 1u);
    return fnfErr;
}

OSErr FSpMakeFSRef(const FSSpec* source, FSRef* newRef) {
    if (source == nullptr || newRef == nullptr)
        return paramErr;
    std::string path;
    if (OSErr err = cs::path_from_spec(source, path); err != noErr)
        return err;
    struct stat info;
    if (OSErr err = cs::stat_node(path, info); err != noErr)
        return err;
    cs::make_ref(path, newRef);
    return noErr;
}
