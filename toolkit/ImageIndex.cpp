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

bool is_ascii(const UniChar* name, size_t length) {
    for (size_t i = 0; i < length; ++i)
        if (name[i] >= 0x80)
            return false;
    return true;
}

// True when the FSSpec name is the file name itself, byte for byte (an ASCII name that fit).
bool spec_name_is(const unsigned char* spec_name, const UniChar* name, size_t length) {
    if (spec_name[0] != length)
        return false;
    for (size_t i = 0; i < length; ++i)
        if (spec_name[i + 1] != name[i])
            return false;
    return true;
}

} // namespace

// Room for this many files is reserved at once. Only the pages written are ever backed by
// memory, so a small tree costs nothing for it; a large one is indexed without the arrays being
// copied as they grow, and each page is touched once.
constexpr size_t kReservedFiles = size_t{1} << 18;
constexpr size_t kReservedNameBytes = 24;

ImageIndex::ImageIndex() {
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

// Sorts keys by hash, keeping the order of equal hashes: three stable passes of eleven bits,
// each a counting sort, which read and write the arrays in order.
void ImageIndex::sort_keys(std::vector<Key>& keys) {
    constexpr int kBits = 11;
    constexpr size_t kBuckets = size_t{1} << kBits;
    std::vector<Key> sorted(keys.size());
    std::vector<uint32_t> counts(kBuckets);
    for (int shift = 0; shift < 32; shift += kBits) {
        std::fill(counts.begin(), counts.end(), 0);
        for (const Key& key : keys)
            ++counts[(key.hash >> shift) & (kBuckets - 1)];
        uint32_t start = 0;
        for (uint32_t& count : counts)
            start += std::exchange(count, start);
        for (const Key& key : keys)
            sorted[counts[(key.hash >> shift) & (kBuckets - 1)]++] = key;
        keys.swap(sorted);
    }
}

void ImageIndex::store(Entry& entry, const UniChar* name, size_t length, const FSSpec& spec) {
    if (folders_.empty() || folders_.back().vRefNum != spec.vRefNum ||
        folders_.back().parID != spec.parID)
        folders_.push_back(Folder{spec.vRefNum, spec.parID});
    entry.folder = static_cast<uint32_t>(folders_.size() - 1);
    entry.offset = static_cast<uint32_t>(bytes_.size());
    entry.length = static_cast<uint16_t>(length);
    entry.ascii = is_ascii(name, length);
    if (entry.ascii) { // each unit below 0x80: one byte
        bytes_.resize(bytes_.size() + length);
        unsigned char* out = bytes_.data() + entry.offset;
        for (size_t i = 0; i < length; ++i)
            out[i] = static_cast<unsigned char>(name[i]);
    } else {
        bytes_.insert(bytes_.end(), reinterpret_cast<const unsigned char*>(name),
                      reinterpret_cast<const unsigned char*>(name + length));
    }
    entry.own_spec = !entry.ascii || !spec_name_is(spec.name, name, length);
    if (entry.own_spec)
        bytes_.insert(bytes_.end(), spec.name, spec.name + 1 + spec.name[0]);
}

void ImageIndex::add(const UniChar* name, size_t length, const FSSpec& spec) {
    if (length == 0 || length > kLongestName)
        return;
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
