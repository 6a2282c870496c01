/*
 * ImageIndex.h: the picture index of the image import manager: file names
 * (UTF-16, compared exactly) to file locations, in flat storage. Each file
 * takes a small entry, its name (one byte a unit when the name is ASCII),
 * and its folder's location once per folder. Adding appends; `finish` then
 * sorts the names' hashes once, and lookups search them. Nothing is
 * allocated per file and nothing is touched at random while a large folder
 * tree is listed.
 */
#ifndef TOOLKIT_IMAGEINDEX_H
#define TOOLKIT_IMAGEINDEX_H

#include <CoreFoundation/CoreFoundation.h>
#include <CoreServices/CoreServices.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace toolkit {

class ImageIndex {
  public:
    // Adds the file `name` at `spec`; of two files with one name, the one added later is found.
    void add(const UniChar* name, size_t length, const FSSpec& spec);
    // Makes what was added findable; called once adding is over (adding again undoes it).
    void finish();
    // The location of the file `name` into `*spec`; false when the name is not indexed (or
    // the index is not finished).
    bool find(CFStringRef name, FSSpec* spec) const;
    bool find(const UniChar* name, size_t length, FSSpec* spec) const;
    size_t size() const { return entries_.size(); }

  private:
    struct Entry {
        uint32_t folder;  // in folders_
        uint32_t offset;  // of the name in bytes_; the FSSpec name follows when it has its own
        uint16_t length;  // in UTF-16 units
        uint8_t ascii;    // the name is stored one byte a unit
        uint8_t own_spec; // the FSSpec name is stored after the name (else it is the name)
    };
    struct Folder {
        FSVolumeRefNum vRefNum;
        SInt32 parID;
    };
    // A name's hash and its entry; sorted by hash, then by entry, so that of equal names the
    // later comes last.
    struct Key {
        uint32_t hash;
        uint32_t entry;
    };

    bool same_name(const Entry& entry, const UniChar* name, size_t length) const;
    static void sort_keys(std::vector<Key>& keys);
    // Reserves room for many files once the tree turns out to be large.
    void make_room();
    // Stores the name (and the FSSpec name when it is not the name) and the folder of `spec`
    // into `entry`.
    void store(Entry& entry, const UniChar* name, size_t length, const FSSpec& spec);

    std::vector<unsigned char> bytes_;
    std::vector<Entry> entries_;
    std::vector<Folder> folders_;
    std::vector<Key> keys_;
    bool finished_ = false;
};

} // namespace toolkit

#endif /* TOOLKIT_IMAGEINDEX_H */
