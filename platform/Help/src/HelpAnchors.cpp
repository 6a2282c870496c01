// Anchors: finding a name or id attribute in the pages of a book.
#include "HelpInternal.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace ah {
namespace {

bool is_space(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

bool starts_with_nocase(std::string_view text, size_t at, std::string_view word) {
    if (text.size() - at < word.size())
        return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[at + i])) != word[i])
            return false;
    return true;
}

// The attribute value that follows `= ` at `at`, quoted or not; false when
// no "=" follows.
bool value_after(std::string_view html, size_t at, std::string_view& value) {
    while (at < html.size() && is_space(html[at]))
        ++at;
    if (at == html.size() || html[at] != '=')
        return false;
    ++at;
    while (at < html.size() && is_space(html[at]))
        ++at;
    if (at == html.size())
        return false;
    if (html[at] == '"' || html[at] == '\'') {
        size_t end = html.find(html[at], at + 1);
        if (end == std::string_view::npos)
            return false;
        value = html.substr(at + 1, end - at - 1);
        return true;
    }
    size_t end = at;
    while (end < html.size() && !is_space(html[end]) && html[end] != '>')
        ++end;
    value = html.substr(at, end - at);
    return true;
}

bool is_html(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".html" || extension == ".htm";
}

} // namespace

bool page_has_anchor(std::string_view html, std::string_view anchor) {
    for (size_t at = 1; at < html.size(); ++at) {
        // An attribute name follows white space inside a tag.
        if (!is_space(html[at - 1]))
            continue;
        size_t length = starts_with_nocase(html, at, "name") ? 4
                        : starts_with_nocase(html, at, "id") ? 2
                                                             : 0;
        std::string_view value;
        if (length != 0 && value_after(html, at + length, value) && value == anchor)
            return true;
    }
    return false;
}

bool file_has_anchor(const std::string& path, std::string_view anchor) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream text;
    text << in.rdbuf();
    return page_has_anchor(text.str(), anchor);
}

std::string find_anchor_page(const std::string& folder, std::string_view anchor) {
    std::error_code error;
    std::vector<std::string> pages;
    for (std::filesystem::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error))
        if (it->is_regular_file(error) && is_html(it->path()))
            pages.push_back(it->path().string());
    std::sort(pages.begin(), pages.end());
    for (const std::string& page : pages)
        if (file_has_anchor(page, anchor))
            return page;
    return "";
}

} // namespace ah
