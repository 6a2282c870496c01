// The script parser: one step per line, words and quoted strings, '#'
// comments. Every verb checks the shape of its arguments here, so that a
// script with a bad line is refused before any of it runs.
#include "Script.h"

#include <HIToolbox/Events.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace hit::script {
namespace {

struct Token {
    std::string text;
    bool quoted = false;
};

struct KeyName {
    const char* name;
    UniChar code;
};

constexpr KeyName kKeys[] = {
    {"return", kReturnCharCode},  {"enter", kEnterCharCode},         {"escape", kEscapeCharCode},
    {"tab", kTabCharCode},        {"backspace", kBackspaceCharCode}, {"delete", kDeleteCharCode},
    {"left", kLeftArrowCharCode}, {"right", kRightArrowCharCode},    {"up", kUpArrowCharCode},
    {"down", kDownArrowCharCode}, {"home", kHomeCharCode},           {"end", kEndCharCode},
    {"space", kSpaceCharCode},
};

// Splits a line into tokens; a '#' outside quotes ends it. False with a
// message for an unterminated string or an unknown escape.
bool tokenize(const std::string& line, std::vector<Token>& out, std::string& message) {
    size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            Token token{"", true};
            for (++i;; ++i) {
                if (i >= line.size()) {
                    message = "a string is not closed";
                    return false;
                }
                if (line[i] == '"')
                    break;
                if (line[i] == '\\') {
                    const char e = ++i < line.size() ? line[i] : '\0';
                    if (e != '"' && e != '\\' && e != 'n' && e != 't') {
                        message = "unknown escape in a string (use \\\" \\\\ \\n \\t)";
                        return false;
                    }
                    token.text += e == 'n' ? '\n' : e == 't' ? '\t' : e;
                } else {
                    token.text += line[i];
                }
            }
            ++i;
            out.push_back(std::move(token));
        } else {
            const size_t end = line.find_first_of(" \t\r\"#", i);
            out.push_back({line.substr(i, end == std::string::npos ? end : end - i), false});
            i = end == std::string::npos ? line.size() : end;
        }
    }
    return true;
}

bool parse_int32(const std::string& text, SInt32& out) {
    if (text.empty() || text.find_first_not_of("+-0123456789") != std::string::npos)
        return false;
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < INT32_MIN || value > INT32_MAX)
        return false;
    out = static_cast<SInt32>(value);
    return true;
}

// "TVKa:501" (four characters, a colon, a number) or "a title in quotes".
bool parse_target(const Token& token, Target& out) {
    out.spelled = token.quoted ? "\"" + token.text + "\"" : token.text;
    if (token.quoted) {
        out.title = token.text;
        return true;
    }
    const std::string& t = token.text;
    if (t.size() < 6 || t[4] != ':' || !parse_int32(t.substr(5), out.id.id))
        return false;
    out.by_id = true;
    out.id.signature = 0;
    for (int i = 0; i < 4; ++i)
        out.id.signature = out.id.signature << 8 | static_cast<UInt8>(t[i]);
    return true;
}

// An output file name: a plain name, never a path out of the output folder.
bool plain_name(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string::npos;
}

struct Shape {
    const char* verb;
    Verb value;
    // C control, S quoted string, I item, N number, E second number, K key, F file
    const char* arguments;
};

constexpr Shape kShapes[] = {
    {"click", Verb::click, "C"},
    {"choose", Verb::choose, "CI"},
    {"type", Verb::type, "CS"},
    {"key", Verb::key, "K"},
    {"focus", Verb::focus, "C"},
    {"answer-alert", Verb::answer_alert, "S"},
    {"expect-alert", Verb::expect_alert, "S"},
    {"expect-notice", Verb::expect_notice, "S"},
    {"expect-value", Verb::expect_value, "CN"},
    {"expect-text", Verb::expect_text, "CS"},
    {"dump", Verb::dump, "F"},
    {"snapshot", Verb::snapshot, "F"},
    {"select", Verb::select, "CNE"},
    {"keys", Verb::keys, "S"},
    {"paste", Verb::paste, "CS"},
    {"expect-beeps", Verb::expect_beeps, "N"},
    {"open-list", Verb::open_list, "C"},
};

// Reads one argument of the given kind into the step; a message when it
// does not fit.
bool argument(char kind, const Token& token, Step& step, std::string& message) {
    switch (kind) {
    case 'C':
        if (parse_target(token, step.control))
            return true;
        message = "expected a control: an ID such as TVKa:501, or its title in quotes";
        return false;
    case 'S':
        step.text = token.text;
        if (token.quoted)
            return true;
        message = "expected a text in quotes, not " + token.text;
        return false;
    case 'I':
        step.text = token.text;
        step.by_number = !token.quoted;
        if (token.quoted || (parse_int32(token.text, step.number) && step.number > 0))
            return true;
        message = "expected an item: its title in quotes, or its number from 1";
        return false;
    case 'N':
        if (!token.quoted && parse_int32(token.text, step.number))
            return true;
        message = "expected a whole number, not " + token.text;
        return false;
    case 'E':
        if (!token.quoted && parse_int32(token.text, step.end))
            return true;
        message = "expected a whole number, not " + token.text;
        return false;
    case 'K':
        for (const KeyName& key : kKeys)
            if (!token.quoted && token.text == key.name) {
                step.key = key.code;
                return true;
            }
        message = "unknown key " + token.text +
                  " (return, enter, escape, tab, backspace, delete, left, right, up, down, "
                  "home, end, space)";
        return false;
    default: // 'F'
        step.text = token.text;
        if (plain_name(token.text))
            return true;
        message = "expected a plain file name, not " + token.text;
        return false;
    }
}

bool parse_step(const std::vector<Token>& tokens, Step& step, std::string& message) {
    const Token& verb = tokens.front();
    const Shape* shape = nullptr;
    for (const Shape& s : kShapes)
        if (!verb.quoted && verb.text == s.verb)
            shape = &s;
    if (shape == nullptr) {
        message = "unknown action " + verb.text;
        return false;
    }
    step.verb = shape->value;
    const std::string kinds = shape->arguments;
    if (tokens.size() - 1 != kinds.size()) {
        message = std::string(shape->verb) + " takes " + std::to_string(kinds.size()) +
                  (kinds.size() == 1 ? " argument" : " arguments") + ", not " +
                  std::to_string(tokens.size() - 1);
        return false;
    }
    for (size_t i = 0; i < kinds.size(); ++i)
        if (!argument(kinds[i], tokens[i + 1], step, message))
            return false;
    return true;
}

} // namespace

bool is_action(Verb verb) {
    switch (verb) {
    case Verb::click:
    case Verb::choose:
    case Verb::type:
    case Verb::key:
    case Verb::focus:
    case Verb::answer_alert:
    case Verb::select:
    case Verb::keys:
    case Verb::paste:
    case Verb::open_list:
        return true;
    default:
        return false;
    }
}

bool parse(const std::string& text, const std::string& file, Script& out, std::string& error) {
    out = Script{file, {}};
    int line_number = 0;
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end == std::string::npos ? end : end - start);
        start = end == std::string::npos ? text.size() : end + 1;
        ++line_number;
        std::vector<Token> tokens;
        std::string message;
        Step step;
        step.line = line_number;
        if (tokenize(line, tokens, message) &&
            (tokens.empty() || parse_step(tokens, step, message))) {
            if (!tokens.empty())
                out.steps.push_back(std::move(step));
            continue;
        }
        error = file + ":" + std::to_string(line_number) + ": " + message;
        return false;
    }
    return true;
}

} // namespace hit::script
