// The picture index: names and locations in flat arrays, found by hashing.
#include "ImageIndex.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace toolkit {
namespace {

constexpr size_t kLongestName = 255; // a File Manager name's limit

// The name's units four at a time, each word mixed in with a multiplication, then the whole
// folded so that every bit of the result depends on every unit.
uint32_t hash_name(const UniChar* name, size_t length) {
    uint64_t hash = 0x9e3779b97f4a7c15u ^ length;
    size_t i = 0;
    for (; i + 4 <= length; i += 4) {
        uint64_t word;
        std::memcpy(&word, name + i, sizeof(word));
        hash = (hash ^ word) * 0xff51afd7ed558ccdu;
        hash ^= hash >> 32;
    }
    uint64_t tail = 0;
    for (; i < length; ++i)
        tail = tail << 16 | name[i];
    hash = (hash ^ tail) * 0xc4ceb9fe1a85ec53u;
    hash ^= hash >> 29;
    return static_cast<uint32_t>(hash ^ (hash >> 32));
}

} // namespace

// A tree of more files than kSmallTree gets room for kReservedFiles at once. Only the pages
// written are ever backed by memory, so the room costs little; a large tree is then indexed
// without its arrays being copied as they grow. A small tree (a bundle's resources) keeps small
// arrays from the ordinary heap.
constexpr size_t kSmallTree = 4096;
constexpr size_t kReservedFiles = size_t{1} << 18;
constexpr size_t kReservedNameBytes = 24;

void ImageIndex::make_room() {
    if (entries_.size() != kSmallTree)
        return;
    entries_.reserve(kReservedFiles);
    keys_.reserve(kReservedFiles);
    bytes_.reserve(kReservedFiles * kReservedNameBytes);
}

bool ImageIndex::same_name(const Entry& entry, const UniChar* name, size_t length) const {
    if (entry.length != length)
        return false;
    const unsigned char* stored = bytes_.data() + entry.offset;
    if (entry.ascii) {
        for (size_t i = 0; i < length; ++i)
            if (stored[i] != name[i])
                return false;
        return true;
    }
    return std::memcmp(stored, name, length * sizeof(UniChar)) == 0;
}

// Sorts keys by hash, keeping the order of equal hashes: four stable passes of eight bits,
// counting sorts whose counts are all taken in one read of the keys.
void ImageIndex::sort_keys(std::vector<Key>& keys) {
    uint32_t counts[4][256] = {};
    for (const Key& key : keys)
        for (int digit = 0; digit < 4; ++digit)
            ++counts[digit][(key.hash >> (8 * digit)) & 0xFF];
    for (auto& digit_counts : counts) {
        uint32_t start = 0;
        for (uint32_t& count : digit_counts)
            start += std::exchange(count, start);
    }
    std::vector<Key> other(keys.size());
    for (int digit = 0; digit < 4; ++digit) {
        for (const Key& key : keys)
            other[counts[digit][(key.hash >> (8 * digit)) & 0xFF]++] = key;
        keys.swap(other);
    }
}

void ImageIndex::store(Entry& entry, const UniChar* name, size_t length, const FSSpec& spec) {
    if (folders_.empty() || folders_.back().vRefNum != spec.vRefNum ||
        folders_.back().parID != spec.parID)
        folders_.push_back(Folder{spec.vRefNum, spec.parID});
    entry.folder = static_cast<uint32_t>(folders_.size() - 1);
    entry.offset = static_cast<uint32_t>(bytes_.size());
    entry.length = static_cast<uint16_t>(length);
    // One pass stores the name a byte a unit and compares it with the FSSpec name; a unit past
    // ASCII undoes the bytes and stores the units themselves.
    bytes_.resize(bytes_.size() + length);
    unsigned char* out = bytes_.data() + entry.offset;
    UniChar seen = 0;
    bool spec_same = spec.name[0] == length;
    for (size_t i = 0; i < length; ++i) {
        seen |= name[i];
        out[i] = static_cast<unsigned char>(name[i]);
        spec_same = spec_same && spec.name[i + 1] == out[i];
    }
    entry.ascii = seen < 0x80;
    if (!entry.ascii) {
        bytes_.resize(entry.offset);
        bytes_.insert(bytes_.end(), reinterpret_cast<const unsigned char*>(name),
                      reinterpret_cast<const unsigned char*>(name + length));
    }
    entry.own_spec = !entry.ascii || !spec_same;
    if (entry.own_spec)
        bytes_.insert(bytes_.end(), spec.name, spec.name + 1 + spec.name[0]);
}

void ImageIndex::add(const UniChar* name, size_t length, const FSSpec& spec) {
    if (length == 0 || length > kLongestName)
        return;
    make_room();
    keys_.push_back(Key{hash_name(name, length), static_cast<uint32_t>(entries_.size())});
    entries_.emplace_back();
    store(entries_.back(), name, length, spec);
    finished_ = false;
}

void ImageIndex::finish() {
    if (keys_.size() < 256)
        std::sort(keys_.begin(), keys_.end(), [](const Key& a, const Key& b) {
            return a.hash != b.hash ? a.hash < b.hash : a.entry < b.entry;
        });
    else
        sort_keys(keys_);
    finished_ = true;
}

bool ImageIndex::find(const UniChar* name, size_t length, FSSpec* spec) const {
    if (!finished_ || length == 0 || length > kLongestName)
        return false;
    const uint32_t hash = hash_name(name, length);
    auto run = std::equal_range(keys_.begin(), keys_.end(), Key{hash, 0},
                                [](const Key& a, const Key& b) { return a.hash < b.hash; });
    // The last of equal names is the file added later.
    const Entry* found = nullptr;
    for (auto key = run.second; key != run.first && found == nullptr;) {
        --key;
        if (same_name(entries_[key->entry], name, length))
            found = &entries_[key->entry];
    }
    if (found == nullptr)
        return false;
    const Entry& entry = *found;
    spec->vRefNum = folders_[entry.folder].vRefNum;
    spec->parID = folders_[entry.folder].parID;
    const unsigned char* stored = bytes_.data() + entry.offset;
    if (entry.own_spec) {
        const unsigned char* spec_name = stored + (entry.ascii ? 1 : 2) * entry.length;
        std::memcpy(spec->name, spec_name, 1 + spec_name[0]);
    } else {
        spec->name[0] = static_cast<unsigned char>(entry.length);
        std::memcpy(spec->name + 1, stored, entry.length);
    }
    return true;
}

bool ImageIndex::find(CFStringRef name, FSSpec* spec) const {
    const CFIndex length = name != nullptr ? CFStringGetLength(name) : 0;
    if (length <= 0 || static_cast<size_t>(length) > kLongestName)
        return false;
    if (const UniChar* units = CFStringGetCharactersPtr(name))
        return find(units, static_cast<size_t>(length), spec);
    UniChar units[kLongestName];
    CFStringGetCharacters(name, CFRangeMake(0, length), units);
    return find(units, static_cast<size_t>(length), spec);
}

} // namespace toolkit
