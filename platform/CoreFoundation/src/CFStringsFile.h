// Classic ".strings" files and language choice: the plain C++ core of
// localised bundle strings, with no CF objects in it.
#ifndef COREFOUNDATION_SRC_CFSTRINGSFILE_H
#define COREFOUNDATION_SRC_CFSTRINGSFILE_H

#include <string>
#include <utility>
#include <vector>

namespace cf {

using StringsEntry = std::pair<std::u16string, std::u16string>;

/*
 * Parses the bytes of a strings file: UTF-16 with a byte-order mark, or
 * UTF-8 (with or without one). Entries are `"key" = "value";` or `"key";`
 * (the value is then the key), with C and C++ comments, the escapes \n \t
 * \r \" \\ \' \a \b \f \v \Uxxxx and octal \ooo; a word of letters, digits
 * and _ $ : . / - may stand without quotes. Stops at the first error and
 * returns false with `error` naming the file and line ("file:12: ...");
 * the entries read up to there stay in `entries`.
 */
bool parse_strings_file(const std::string& bytes, const std::string& file_name,
                        std::vector<StringsEntry>& entries, std::string& error);

/*
 * The process's preferred languages, most wanted first: each entry of the
 * colon-separated LANGUAGE, then the first of LC_ALL, LC_MESSAGES and LANG
 * that is set. Encodings and modifiers are dropped ("de_DE.UTF-8@euro" is
 * "de_DE"); "C" and "POSIX" name no language.
 */
std::vector<std::string> preferred_languages();

/*
 * The localization of `available` (names of .lproj folders without the
 * extension) that suits `preferred` best: for each preferred language in
 * turn its exact name ("de_DE", "de-DE"), its language alone ("de"), then the
 * old English name ("German"). When none matches: the development region,
 * then English, then the first available. "" when nothing is available.
 */
std::string choose_localization(const std::vector<std::string>& available,
                                const std::vector<std::string>& preferred,
                                const std::string& development_region);

} // namespace cf

#endif // COREFOUNDATION_SRC_CFSTRINGSFILE_H
