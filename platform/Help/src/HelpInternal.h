// Internals shared by the Help framework's files: finding books and their
// pages, looking for anchors, and handing pages to the viewer.
#ifndef HELP_SRC_HELPINTERNAL_H
#define HELP_SRC_HELPINTERNAL_H

#include <CoreFoundation/CFHolder.h>
#include <CoreFoundation/CoreFoundation.h>

#include <string>
#include <string_view>
#include <vector>

namespace ah {

// UTF-8 text of a CF string; "" for NULL.
std::string utf8(CFStringRef string);
// The absolute file-system path of a file URL, or "".
std::string path_of_url(CFURLRef url);

// --- Books (HelpBooks.cpp) ------------------------------------------------------
// The bundle that holds the book called `name`: registered bundles first, the
// latest first, then every bundle of the process. Not retained; NULL if none.
CFBundleRef find_book(CFStringRef name);
// Every bundle of the process that holds a book, registered ones first.
std::vector<CFBundleRef> known_books();
// Whether the bundle's Info.plist names a book and its folder.
bool holds_book(CFBundleRef bundle);
// Remembers the bundle (retaining it) for the rest of the process.
void register_book(CFBundleRef bundle);
// The absolute path of the book's folder in its preferred localization, or "".
std::string book_folder(CFBundleRef bundle);
// The absolute path of a page given relative to the book's folder, looked for
// in the preferred localization first; "" when it is nowhere.
std::string page_in_book(CFBundleRef bundle, const std::string& relative);
// The path, relative to the book's folder, of the page a book opens at.
std::string start_page(CFBundleRef bundle);

// --- Anchors (HelpAnchors.cpp) --------------------------------------------------
// Whether the HTML text has an element whose name or id attribute is `anchor`.
bool page_has_anchor(std::string_view html, std::string_view anchor);
// Whether the file at `path` can be read and has the anchor.
bool file_has_anchor(const std::string& path, std::string_view anchor);
// The first HTML page under `folder` (sorted by path) with the anchor, or "".
std::string find_anchor_page(const std::string& folder, std::string_view anchor);

// --- Viewer (HelpViewer.cpp) ------------------------------------------------------
// Hands the page to the installed viewer; anchor may be NULL.
void show_page(const std::string& path, const char* anchor);
// A file: URL for the path, with "#anchor" when anchor is not NULL.
std::string file_url(const std::string& path, const char* anchor);

} // namespace ah

#endif // HELP_SRC_HELPINTERNAL_H
