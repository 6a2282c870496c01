// Internals of the File Manager shared by its files: the node table behind
// FSRefs and directory IDs, path helpers, name conversions and catalog facts.
#ifndef CORESERVICES_SRC_FILENODES_H
#define CORESERVICES_SRC_FILENODES_H

#include <CoreServices/Files.h>

#include <string>
#include <string_view>
#include <sys/stat.h>

namespace cs {

// --- Node table (FileNodes.cpp) ---------------------------------------------
// Every absolute path the File Manager meets gets a node ID for the life of
// the process; an FSRef carries that ID, and a folder's node ID is its
// directory ID. "/" is fsRtDirID.

SInt32 node_id_for_path(const std::string& absolute_path);
// False when no path has that ID (fsRtParID has none).
bool path_for_node_id(SInt32 node_id, std::string& path);

void make_ref(const std::string& absolute_path, FSRef* ref);
// The FSRef of the item `leaf` of the folder (path and directory ID) without
// a node of its own: the folder's ID and the name travel in the FSRef itself
// when the name fits, so handing out a folder's items adds nothing to the
// table. Two FSRefs to one object may differ byte for byte.
void make_child_ref(SInt32 folder_id, const std::string& folder, std::string_view leaf, FSRef* ref);
// paramErr for NULL, errFSBadFSRef for anything not made by make_ref.
OSErr path_from_ref(const FSRef* ref, std::string& path);

// --- Paths --------------------------------------------------------------------

// Absolute (from the current directory) and lexically normal, no trailing "/".
std::string normalize_path(const std::string& path);
// "/" for "/a"; "/" for "/".
std::string parent_path(const std::string& absolute_path);
// "a" for "/x/a"; "" for "/".
std::string leaf_name(const std::string& absolute_path);
std::string join_path(const std::string& folder, std::string_view name);

// The File Manager status for an errno value.
OSErr error_from_errno(int error);

// lstat, with the result as a status: noErr, fnfErr, ...
OSErr stat_node(const std::string& path, struct stat& info);
// The folder to create or look up an item in: must exist and be a folder
// (symbolic links to folders count). noErr, fnfErr, errFSNotAFolder.
OSErr check_folder(const std::string& path);

// --- Names (FileNames.cpp) ------------------------------------------------------

// A Unicode File Manager name to a POSIX name ("/" becomes ":"). Returns
// errFSMissingName, bdNamErr (".", "..", NUL, invalid UTF-16) or
// errFSNameTooLong; noErr otherwise.
OSErr posix_name_from_unicode(const UniChar* name, UniCharCount length, std::string& out);
// A POSIX name as an HFSUniStr255 (":" becomes "/"); invalid UTF-8 reads as U+FFFD.
void unicode_from_posix_name(std::string_view name, HFSUniStr255* out);
// The Str63 FSSpec name of a POSIX name; node_id names the object when the
// name has to be shortened.
void spec_name_from_posix_name(const std::string& name, SInt32 node_id, unsigned char out[64]);
// The Str63 name when the POSIX name fits one as it is; false when it must be
// shortened (which needs the object's node ID).
bool spec_name_fits(std::string_view name, unsigned char out[64]);
// The path in `folder` that an FSSpec name denotes (whether or not it exists).
std::string path_from_spec_name(const std::string& folder, const unsigned char* name);

// --- Catalog facts (Files_Catalog.cpp) ---------------------------------------------

// Fills the fields of `which` that need no more than the lstat result
// (not the parent, node ID, dates or valence).
void fill_stat_fields(const struct stat& info, FSCatalogInfoBitmap which, FSCatalogInfo* out);
// The fields that need the object's path.
constexpr FSCatalogInfoBitmap kPathCatalogFields =
    kFSCatInfoParentDirID | kFSCatInfoNodeID | kFSCatInfoAllDates | kFSCatInfoValence;
// Fills the fields of `which` for the object at path (already lstat'ed).
OSErr fill_catalog_info(const std::string& path, const struct stat& info, FSCatalogInfoBitmap which,
                        FSCatalogInfo* out);
void fill_spec(const std::string& path, FSSpec* spec);
// The same for the item `leaf` of the folder (path and directory ID),
// without looking the folder up again.
void fill_spec_in_folder(SInt32 folder_id, const std::string& folder, std::string_view leaf,
                         FSSpec* spec);
// errFSBadInfoBitmap when `which` asks for something no call can give.
OSErr check_info_bitmap(FSCatalogInfoBitmap which);

} // namespace cs

#endif // CORESERVICES_SRC_FILENODES_H
