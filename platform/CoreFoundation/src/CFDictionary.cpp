// Hash tables from keys to values. The table is a std::unordered_map whose
// hasher and key comparison call the key callbacks given at creation, so a
// lookup costs one hash and a few comparisons whatever the size.
#include <CoreFoundation/CFDictionary.h>
#include <CoreFoundation/CFString.h>

#include "CFValueSupport.h"

#include <functional>
#include <unordered_map>
#include <vector>

namespace {

struct KeyHash {
    const CFDictionaryKeyCallBacks* callbacks;
    size_t operator()(const void* key) const {
        return callbacks->hash ? callbacks->hash(key) : std::hash<const void*>{}(key);
    }
};

struct KeyEqual {
    const CFDictionaryKeyCallBacks* callbacks;
    bool operator()(const void* a, const void* b) const {
        return a == b || (callbacks->equal != nullptr && callbacks->equal(a, b));
    }
};

using Table = std::unordered_map<const void*, const void*, KeyHash, KeyEqual>;

} // namespace

struct OpaqueCFDictionary : cf::Object {
    CFDictionaryKeyCallBacks key_callbacks{};
    CFDictionaryValueCallBacks value_callbacks{};
    // The functors point at key_callbacks above; the object never moves.
    Table table{0, KeyHash{&key_callbacks}, KeyEqual{&key_callbacks}};
    bool is_mutable = false;
    CFIndex capacity = 0;

    const void* retain_key(const void* key) const {
        return key_callbacks.retain ? key_callbacks.retain(allocator, key) : key;
    }
    const void* retain_value(const void* value) const {
        return value_callbacks.retain ? value_callbacks.retain(allocator, value) : value;
    }
    void release_key(const void* key) const {
        if (key_callbacks.release != nullptr)
            key_callbacks.release(allocator, key);
    }
    void release_value(const void* value) const {
        if (value_callbacks.release != nullptr)
            value_callbacks.release(allocator, value);
    }
    bool same_value(const void* a, const void* b) const {
        return a == b || (value_callbacks.equal != nullptr && value_callbacks.equal(a, b));
    }
    CFIndex count() const { return static_cast<CFIndex>(table.size()); }
    void clear() {
        // Empty the table before releasing: a release may reach back into this dictionary.
        Table old{0, KeyHash{&key_callbacks}, KeyEqual{&key_callbacks}};
        old.swap(table);
        for (auto& [key, value] : old) {
            release_key(key);
            release_value(value);
        }
    }
    ~OpaqueCFDictionary() { clear(); }
};

namespace {

// String keys are copied so that a mutable string changed later cannot move
// its entry to the wrong bucket.
const void* copy_string_key(CFAllocatorRef allocator, const void* key) {
    if (CFGetTypeID(key) == CFStringGetTypeID())
        return CFStringCreateCopy(allocator, static_cast<CFStringRef>(key));
    return CFRetain(key);
}

} // namespace

const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks = {0,
                                                                cf::retain_callback,
                                                                cf::release_callback,
                                                                cf::copy_description_callback,
                                                                cf::equal_callback,
                                                                cf::hash_callback};
const CFDictionaryKeyCallBacks kCFCopyStringDictionaryKeyCallBacks = {0,
                                                                      copy_string_key,
                                                                      cf::release_callback,
                                                                      cf::copy_description_callback,
                                                                      cf::equal_callback,
                                                                      cf::hash_callback};
const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks = {
    0, cf::retain_callback, cf::release_callback, cf::copy_description_callback,
    cf::equal_callback};

namespace {

bool equal_dictionaries(CFTypeRef a, CFTypeRef b) {
    auto* x = static_cast<const OpaqueCFDictionary*>(a);
    auto* y = static_cast<const OpaqueCFDictionary*>(b);
    if (x->count() != y->count())
        return false;
    for (const auto& [key, value] : x->table) {
        auto found = y->table.find(key);
        if (found == y->table.end() || !x->same_value(value, found->second))
            return false;
    }
    return true;
}

CFHashCode hash_dictionary(CFTypeRef object) {
    return static_cast<CFHashCode>(static_cast<const OpaqueCFDictionary*>(object)->count());
}

CFStringRef describe_dictionary(CFTypeRef object) {
    auto* dict = static_cast<const OpaqueCFDictionary*>(object);
    std::string text = cf::object_tag(object, "CFDictionary") +
                       "{type = " + (dict->is_mutable ? "mutable" : "immutable") +
                       ", count = " + std::to_string(dict->count()) + ", entries =>\n";
    CFIndex index = 0;
    for (const auto& [key, value] : dict->table)
        text += "\t" + std::to_string(index++) + " : " +
                cf::describe_element(key, dict->key_callbacks.copyDescription) + " = " +
                cf::describe_element(value, dict->value_callbacks.copyDescription) + "\n";
    return cf::make_cfstring(text + "}");
}

const cf::ClassDescriptor kDictionaryClass = {"CFDictionary", cf::destroy<OpaqueCFDictionary>,
                                              equal_dictionaries, hash_dictionary,
                                              describe_dictionary};

CFTypeID dictionary_type_id() {
    static CFTypeID id = cf::register_class(&kDictionaryClass);
    return id;
}

// Stores value under key, replacing (and releasing) what was there.
void store(OpaqueCFDictionary* dict, const void* key, const void* value) {
    const void* new_value = dict->retain_value(value);
    auto found = dict->table.find(key);
    if (found != dict->table.end()) {
        const void* old = found->second;
        found->second = new_value;
        dict->release_value(old);
        return;
    }
    dict->table.emplace(dict->retain_key(key), new_value);
}

// Adds value under a new key, or (with `replace`) stores it under a present
// one. A new key is hashed once: the entry is made first, and only a key
// callback that copies (string keys) makes it move to the copy.
void add_or_replace(OpaqueCFDictionary* dict, const void* key, const void* value, bool replace,
                    const char* function) {
    // With a capacity, a full dictionary lets no new key in.
    if (dict->capacity > 0 && dict->table.count(key) == 0 &&
        !cf::check_capacity(dict->capacity, dict->count(), 1, function))
        return;
    auto [slot, added] = dict->table.try_emplace(key, nullptr);
    if (!added) {
        if (replace) {
            const void* old = slot->second;
            slot->second = dict->retain_value(value);
            dict->release_value(old);
        }
        return;
    }
    slot->second = dict->retain_value(value);
    const void* kept = dict->retain_key(key);
    if (kept != key) {
        auto node = dict->table.extract(slot);
        node.key() = kept;
        dict->table.insert(std::move(node));
    }
}

OpaqueCFDictionary* make_dictionary(CFAllocatorRef allocator,
                                    const CFDictionaryKeyCallBacks* key_callbacks,
                                    const CFDictionaryValueCallBacks* value_callbacks,
                                    bool is_mutable, CFIndex capacity) {
    auto* dict = cf::create<OpaqueCFDictionary>(allocator, dictionary_type_id());
    if (dict == nullptr)
        return nullptr;
    if (key_callbacks != nullptr)
        dict->key_callbacks = *key_callbacks;
    if (value_callbacks != nullptr)
        dict->value_callbacks = *value_callbacks;
    dict->is_mutable = is_mutable;
    dict->capacity = capacity > 0 ? capacity : 0;
    return dict;
}

OpaqueCFDictionary* copy_of(CFAllocatorRef allocator, const OpaqueCFDictionary* source,
                            bool is_mutable, CFIndex capacity) {
    OpaqueCFDictionary* dict = make_dictionary(allocator, &source->key_callbacks,
                                               &source->value_callbacks, is_mutable, capacity);
    if (dict == nullptr)
        return nullptr;
    dict->table.reserve(source->table.size());
    for (const auto& [key, value] : source->table)
        store(dict, key, value);
    return dict;
}

OpaqueCFDictionary* editable(CFMutableDictionaryRef dict, const char* function) {
    if (!cf::check_type(dict, dictionary_type_id(), function) ||
        !cf::check_mutable(dict->is_mutable, function))
        return nullptr;
    return dict;
}

} // namespace

CFTypeID CFDictionaryGetTypeID(void) {
    return dictionary_type_id();
}

CFDictionaryRef CFDictionaryCreate(CFAllocatorRef allocator, const void** keys, const void** values,
                                   CFIndex numValues, const CFDictionaryKeyCallBacks* keyCallBacks,
                                   const CFDictionaryValueCallBacks* valueCallBacks) {
    if (numValues < 0 || (numValues > 0 && (keys == nullptr || values == nullptr)))
        return nullptr;
    OpaqueCFDictionary* dict = make_dictionary(allocator, keyCallBacks, valueCallBacks, false, 0);
    if (dict == nullptr)
        return nullptr;
    dict->table.reserve(static_cast<size_t>(numValues));
    for (CFIndex i = 0; i < numValues; ++i)
        store(dict, keys[i], values[i]);
    return dict;
}

CFDictionaryRef CFDictionaryCreateCopy(CFAllocatorRef allocator, CFDictionaryRef theDict) {
    if (!cf::check_type(theDict, dictionary_type_id(), __func__))
        return nullptr;
    return copy_of(allocator, theDict, false, 0);
}

CFMutableDictionaryRef CFDictionaryCreateMutable(CFAllocatorRef allocator, CFIndex capacity,
                                                 const CFDictionaryKeyCallBacks* keyCallBacks,
                                                 const CFDictionaryValueCallBacks* valueCallBacks) {
    return make_dictionary(allocator, keyCallBacks, valueCallBacks, true, capacity);
}

CFMutableDictionaryRef CFDictionaryCreateMutableCopy(CFAllocatorRef allocator, CFIndex capacity,
                                                     CFDictionaryRef theDict) {
    if (!cf::check_type(theDict, dictionary_type_id(), __func__) ||
        !cf::check_capacity(capacity, 0, theDict->count(), __func__))
        return nullptr;
    return copy_of(allocator, theDict, true, capacity);
}

CFIndex CFDictionaryGetCount(CFDictionaryRef theDict) {
    return cf::check_type(theDict, dictionary_type_id(), __func__) ? theDict->count() : 0;
}

CFIndex CFDictionaryGetCountOfKey(CFDictionaryRef theDict, const void* key) {
    return CFDictionaryContainsKey(theDict, key) ? 1 : 0;
}

CFIndex CFDictionaryGetCountOfValue(CFDictionaryRef theDict, const void* value) {
    if (!cf::check_type(theDict, dictionary_type_id(), __func__))
        return 0;
    CFIndex count = 0;
    for (const auto& entry : theDict->table)
        count += theDict->same_value(entry.second, value) ? 1 : 0;
    return count;
}

Boolean CFDictionaryContainsKey(CFDictionaryRef theDict, const void* key) {
    return CFDictionaryGetValueIfPresent(theDict, key, nullptr);
}

Boolean CFDictionaryContainsValue(CFDictionaryRef theDict, const void* value) {
    return CFDictionaryGetCountOfValue(theDict, value) > 0;
}

const void* CFDictionaryGetValue(CFDictionaryRef theDict, const void* key) {
    const void* value = nullptr;
    return CFDictionaryGetValueIfPresent(theDict, key, &value) ? value : nullptr;
}

Boolean CFDictionaryGetValueIfPresent(CFDictionaryRef theDict, const void* key,
                                      const void** value) {
    if (!cf::check_type(theDict, dictionary_type_id(), __func__))
        return false;
    auto found = theDict->table.find(key);
    if (found == theDict->table.end())
        return false;
    if (value != nullptr)
        *value = found->second;
    return true;
}

void CFDictionaryGetKeysAndValues(CFDictionaryRef theDict, const void** keys, const void** values) {
    if (!cf::check_type(theDict, dictionary_type_id(), __func__))
        return;
    size_t i = 0;
    for (const auto& [key, value] : theDict->table) {
        if (keys != nullptr)
            keys[i] = key;
        if (values != nullptr)
            values[i] = value;
        ++i;
    }
}

void CFDictionaryApplyFunction(CFDictionaryRef theDict, CFDictionaryApplierFunction applier,
                               void* context) {
    if (!cf::check_type(theDict, dictionary_type_id(), __func__) || applier == nullptr)
        return;
    for (const auto& [key, value] : theDict->table)
        applier(key, value, context);
}

void CFDictionaryAddValue(CFMutableDictionaryRef theDict, const void* key, const void* value) {
    if (OpaqueCFDictionary* dict = editable(theDict, __func__))
        add_or_replace(dict, key, value, false, __func__);
}

void CFDictionarySetValue(CFMutableDictionaryRef theDict, const void* key, const void* value) {
    if (OpaqueCFDictionary* dict = editable(theDict, __func__))
        add_or_replace(dict, key, value, true, __func__);
}

void CFDictionaryReplaceValue(CFMutableDictionaryRef theDict, const void* key, const void* value) {
    OpaqueCFDictionary* dict = editable(theDict, __func__);
    if (dict != nullptr && dict->table.count(key) != 0)
        store(dict, key, value);
}

void CFDictionaryRemoveValue(CFMutableDictionaryRef theDict, const void* key) {
    OpaqueCFDictionary* dict = editable(theDict, __func__);
    if (dict == nullptr)
        return;
    auto found = dict->table.find(key);
    if (found == dict->table.end())
        return;
    const void* old_key = found->first;
    const void* old_value = found->second;
    dict->table.erase(found);
    dict->release_key(old_key);
    dict->release_value(old_value);
}

void CFDictionaryRemoveAllValues(CFMutableDictionaryRef theDict) {
    OpaqueCFDictionary* dict = editable(theDict, __func__);
    if (dict != nullptr)
        dict->clear();
}
