// Language choice for bundles: the process's preferred languages from the
// environment, matched against a bundle's .lproj folders.
#include "CFStringsFile.h"

#include <cstdlib>

namespace cf {
namespace {

// The old English folder names that bundles of the Mac still use.
struct LegacyName {
    const char* code;
    const char* name;
};
constexpr LegacyName kLegacyNames[] = {
    {"en", "English"},   {"fr", "French"},     {"de", "German"},  {"ja", "Japanese"},
    {"it", "Italian"},   {"es", "Spanish"},    {"nl", "Dutch"},   {"sv", "Swedish"},
    {"da", "Danish"},    {"pt", "Portuguese"}, {"fi", "Finnish"}, {"ko", "Korean"},
    {"nb", "Norwegian"}, {"no", "Norwegian"},  {"pl", "Polish"},  {"ru", "Russian"},
};

// "de_DE.UTF-8@euro" -> "de_DE"; "C" and "POSIX" -> "".
std::string language_of_locale(const std::string& locale) {
    std::string name = locale.substr(0, locale.find_first_of(".@"));
    if (name == "C" || name == "POSIX")
        return "";
    return name;
}

// "de-DE" and "de_DE" are the same localization.
std::string canonical(std::string name) {
    for (char& c : name)
        c = c == '-' ? '_' : c;
    return name;
}

std::string legacy_name(const std::string& code) {
    for (const LegacyName& legacy : kLegacyNames)
        if (code == legacy.code)
            return legacy.name;
    return "";
}

std::string code_of_legacy_name(const std::string& name) {
    for (const LegacyName& legacy : kLegacyNames)
        if (name == legacy.name)
            return legacy.code;
    return name;
}

// The available name equal to `wanted` (either spelling), or "".
std::string find(const std::vector<std::string>& available, const std::string& wanted) {
    if (wanted.empty())
        return "";
    for (const std::string& name : available)
        if (canonical(name) == canonical(wanted))
            return name;
    return "";
}

std::string match(const std::vector<std::string>& available, const std::string& preferred) {
    const std::string code = canonical(code_of_legacy_name(preferred));
    const std::string language = code.substr(0, code.find('_'));
    for (const std::string& candidate : {code, language, legacy_name(language)})
        if (std::string found = find(available, candidate); !found.empty())
            return found;
    return "";
}

} // namespace

std::vector<std::string> preferred_languages() {
    std::vector<std::string> out;
    if (const char* list = std::getenv("LANGUAGE")) {
        std::string entries(list);
        for (size_t start = 0; start <= entries.size();) {
            size_t colon = entries.find(':', start);
            std::string language = language_of_locale(
                entries.substr(start, colon == std::string::npos ? colon : colon - start));
            if (!language.empty())
                out.push_back(language);
            if (colon == std::string::npos)
                break;
            start = colon + 1;
        }
    }
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value == nullptr || *value == '\0')
            continue;
        if (std::string language = language_of_locale(value); !language.empty())
            out.push_back(language);
        break;
    }
    return out;
}

std::string choose_localization(const std::vector<std::string>& available,
                                const std::vector<std::string>& preferred,
                                const std::string& development_region) {
    if (available.empty())
        return "";
    for (const std::string& language : preferred)
        if (std::string found = match(available, language); !found.empty())
            return found;
    if (std::string found = match(available, development_region); !found.empty())
        return found;
    if (std::string found = match(available, "en"); !found.empty())
        return found;
    return available.front();
}

} // namespace cf
