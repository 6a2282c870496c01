// Help books: which bundles hold them and where their pages are.
#include "HelpInternal.h"

#include <climits>

namespace ah {
namespace {

CFStringRef book_name_key() {
    return CFSTR("CFBundleHelpBookName");
}

CFStringRef book_folder_key() {
    return CFSTR("CFBundleHelpBookFolder");
}

// A string value of the (localised) info dictionary, or NULL.
CFStringRef info_string(CFBundleRef bundle, CFStringRef key) {
    CFTypeRef value = CFBundleGetValueForInfoDictionaryKey(bundle, key);
    if (value == nullptr || CFGetTypeID(value) != CFStringGetTypeID())
        return nullptr;
    return static_cast<CFStringRef>(value);
}

// Bundles registered for their books, retained for the life of the process.
std::vector<CFBundleRef>& registered() {
    static auto* bundles = new std::vector<CFBundleRef>;
    return *bundles;
}

bool names_book(CFBundleRef bundle, CFStringRef name) {
    if (!holds_book(bundle))
        return false;
    return CFStringCompare(info_string(bundle, book_name_key()), name, 0) == kCFCompareEqualTo;
}

} // namespace

std::string utf8(CFStringRef string) {
    if (string == nullptr)
        return "";
    CFIndex length = CFStringGetLength(string);
    CFIndex size = CFStringGetMaximumSizeForEncoding(length, kCFStringEncodingUTF8) + 1;
    std::string text(static_cast<size_t>(size), '\0');
    if (!CFStringGetCString(string, text.data(), size, kCFStringEncodingUTF8))
        return "";
    text.resize(std::char_traits<char>::length(text.c_str()));
    return text;
}

std::string path_of_url(CFURLRef url) {
    UInt8 buffer[PATH_MAX];
    if (url == nullptr || !CFURLGetFileSystemRepresentation(url, true, buffer, sizeof(buffer)))
        return "";
    return reinterpret_cast<const char*>(buffer);
}

bool holds_book(CFBundleRef bundle) {
    return info_string(bundle, book_name_key()) != nullptr &&
           info_string(bundle, book_folder_key()) != nullptr;
}

CFBundleRef find_book(CFStringRef name) {
    const std::vector<CFBundleRef>& mine = registered();
    for (auto it = mine.rbegin(); it != mine.rend(); ++it)
        if (names_book(*it, name))
            return *it;
    CFArrayRef all = CFBundleGetAllBundles();
    for (CFIndex i = 0; i < CFArrayGetCount(all); ++i) {
        auto bundle = static_cast<CFBundleRef>(const_cast<void*>(CFArrayGetValueAtIndex(all, i)));
        if (names_book(bundle, name))
            return bundle;
    }
    return nullptr;
}

std::vector<CFBundleRef> known_books() {
    std::vector<CFBundleRef> books(registered().rbegin(), registered().rend());
    CFArrayRef all = CFBundleGetAllBundles();
    for (CFIndex i = 0; i < CFArrayGetCount(all); ++i) {
        auto bundle = static_cast<CFBundleRef>(const_cast<void*>(CFArrayGetValueAtIndex(all, i)));
        bool seen = false;
        for (CFBundleRef book : books)
            seen = seen || book == bundle;
        if (!seen && holds_book(bundle))
            books.push_back(bundle);
    }
    return books;
}

void register_book(CFBundleRef bundle) {
    for (CFBundleRef known : registered())
        if (known == bundle)
            return;
    CFRetain(bundle);
    registered().push_back(bundle);
}

std::string book_folder(CFBundleRef bundle) {
    cf::Holder<CFURLRef> url(
        CFBundleCopyResourceURL(bundle, info_string(bundle, book_folder_key()), nullptr, nullptr));
    return path_of_url(url.get());
}

std::string page_in_book(CFBundleRef bundle, const std::string& relative) {
    // Only a path inside the book: no absolute paths, no way up and out of it.
    if (relative.empty() || relative.front() == '/')
        return "";
    for (size_t start = 0; start <= relative.size();) {
        size_t slash = relative.find('/', start);
        if (relative.compare(start, slash == std::string::npos ? slash : slash - start, "..") == 0)
            return "";
        if (slash == std::string::npos)
            break;
        start = slash + 1;
    }
    cf::Holder<CFStringRef> name(
        CFStringCreateWithCString(nullptr, relative.c_str(), kCFStringEncodingUTF8));
    if (!name)
        return "";
    cf::Holder<CFURLRef> url(CFBundleCopyResourceURL(bundle, name.get(), nullptr,
                                                     info_string(bundle, book_folder_key())));
    if (!url || CFURLHasDirectoryPath(url.get()))
        return "";
    return path_of_url(url.get());
}

std::string start_page(CFBundleRef bundle) {
    CFStringRef access_path = info_string(bundle, CFSTR("HPDBookAccessPath"));
    return access_path != nullptr ? utf8(access_path) : "index.html";
}

} // namespace ah
