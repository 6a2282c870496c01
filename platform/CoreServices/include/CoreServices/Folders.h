/*
 * Folders.h: the Folder Manager, mapped onto the XDG base directories.
 *
 * Where each folder is (the first that is set and absolute wins):
 *
 *   Application Support ("asup")
 *     user domain     $XDG_DATA_HOME, else $HOME/.local/share
 *     local domain    $CARBONRT_APPLICATION_SUPPORT_DIR, else the first entry of
 *                     $XDG_DATA_DIRS, else /usr/local/share
 *   Preferences ("pref")
 *     user domain     $CARBONRT_PREFERENCES_DIR, else $XDG_CONFIG_HOME,
 *                     else $HOME/.config
 *     local domain    the first entry of $XDG_CONFIG_DIRS, else /etc/xdg
 *   Temporary items ("temp")
 *     both domains    $TMPDIR, else /tmp
 *
 * kOnSystemDisk, kOnAppropriateDisk, kLocalDomain and the volume's own
 * reference number (or 0) mean the local (machine-wide) domain. The system,
 * network and classic domains hold none of these folders here.
 */
#ifndef CORESERVICES_FOLDERS_H
#define CORESERVICES_FOLDERS_H

#include <CoreServices/Files.h>

CF_EXTERN_C_BEGIN

enum {
    kOnSystemDisk = -32768,
    kOnAppropriateDisk = -32767,
    kSystemDomain = -32766,
    kLocalDomain = -32765,
    kNetworkDomain = -32764,
    kUserDomain = -32763,
    kClassicDomain = -32762
};

enum { kCreateFolder = true, kDontCreateFolder = false };

enum {
    kApplicationSupportFolderType = 0x61737570, /* "asup" */
    kPreferencesFolderType = 0x70726566,        /* "pref" */
    kTemporaryFolderType = 0x74656D70           /* "temp" */
};

/*
 * FSFindFolder: the FSRef of a special folder in a domain. With kCreateFolder
 * a missing folder is made, with its missing parents (mode 0700 in the user
 * domain, 0755 in the local domain). Returns noErr, fnfErr when the folder
 * does not exist (or the domain or type has no such folder here), paramErr
 * for a NULL foundRef, or the error that creating it gave.
 */
CF_EXPORT OSErr FSFindFolder(FSVolumeRefNum vRefNum, OSType folderType, Boolean createFolder,
                             FSRef* foundRef);

CF_EXTERN_C_END

#endif /* CORESERVICES_FOLDERS_H */
