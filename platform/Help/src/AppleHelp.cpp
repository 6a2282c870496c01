// The Apple Help calls: books found by name, pages and anchors handed to the viewer.
#include <Help/AppleHelp.h>

#include "HelpInternal.h"

#include <sys/stat.h>

namespace ah {
namespace {

bool is_regular_file(const std::string& path) {
    struct stat info;
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Shows the page, scrolled to the anchor, which must be on it (no anchor, or an
// empty one, shows the top of the page).
OSStatus show_checked(const std::string& page, CFStringRef anchor) {
    const std::string name = utf8(anchor);
    if (name.empty()) {
        show_page(page, nullptr);
        return noErr;
    }
    if (!file_has_anchor(page, name))
        return fnfErr;
    show_page(page, name.c_str());
    return noErr;
}

// A page given by a full file: URL, outside any book.
OSStatus goto_url(CFStringRef text, CFStringRef anchor) {
    cf::Holder<CFURLRef> url(CFURLCreateWithString(nullptr, text, nullptr));
    if (!url)
        return paramErr;
    cf::Holder<CFStringRef> scheme(CFURLCopyScheme(url.get()));
    if (!scheme || CFStringCompare(scheme.get(), CFSTR("file"), kCFCompareCaseInsensitive) != 0)
        return paramErr;
    const std::string page = path_of_url(url.get());
    if (!is_regular_file(page))
        return fnfErr;
    return show_checked(page, anchor);
}

// The path as a book page names it: URL-style, so percent escapes are undone.
bool relative_page(CFStringRef path, std::string& out) {
    cf::Holder<CFStringRef> plain(
        CFURLCreateStringByReplacingPercentEscapes(nullptr, path, CFSTR("")));
    if (!plain)
        return false;
    out = utf8(plain.get());
    return !out.empty();
}

} // namespace
} // namespace ah

OSStatus AHGotoPage(CFStringRef bookname, CFStringRef path, CFStringRef anchor) {
    if (bookname == nullptr)
        return path != nullptr ? ah::goto_url(path, anchor) : paramErr;
    CFBundleRef bundle = ah::find_book(bookname);
    if (bundle == nullptr)
        return kAHInternalErr;
    std::string relative = ah::start_page(bundle);
    if (path != nullptr && !ah::relative_page(path, relative))
        return paramErr;
    const std::string page = ah::page_in_book(bundle, relative);
    if (page.empty())
        return fnfErr;
    return ah::show_checked(page, anchor);
}

OSStatus AHLookupAnchor(CFStringRef bookname, CFStringRef anchor) {
    const std::string name = ah::utf8(anchor);
    if (name.empty())
        return paramErr;
    std::vector<CFBundleRef> books;
    if (bookname == nullptr) {
        books = ah::known_books();
    } else if (CFBundleRef bundle = ah::find_book(bookname)) {
        books.push_back(bundle);
    } else {
        return kAHInternalErr;
    }
    for (CFBundleRef bundle : books) {
        const std::string page = ah::find_anchor_page(ah::book_folder(bundle), name);
        if (!page.empty()) {
            ah::show_page(page, name.c_str());
            return noErr;
        }
    }
    return fnfErr;
}

OSStatus AHRegisterHelpBookWithURL(CFURLRef applicationURL) {
    if (applicationURL == nullptr)
        return paramErr;
    cf::Holder<CFBundleRef> bundle(CFBundleCreate(nullptr, applicationURL));
    if (!bundle)
        return dirNFErr;
    if (!ah::holds_book(bundle.get()))
        return kAHInternalErr;
    ah::register_book(bundle.get());
    return noErr;
}

OSStatus AHRegisterHelpBook(const FSRef* appBundleRef) {
    if (appBundleRef == nullptr)
        return paramErr;
    cf::Holder<CFURLRef> url(CFURLCreateFromFSRef(nullptr, appBundleRef));
    if (!url)
        return dirNFErr;
    return AHRegisterHelpBookWithURL(url.get());
}
