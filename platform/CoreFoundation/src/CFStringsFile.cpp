// The classic strings-file reader: decoding, then a small tokenizer that
// tracks lines for its error messages.
#include "CFStringsFile.h"

#include <unicode/utf16.h>
#include <unicode/utf8.h>

namespace cf {
namespace {

bool decode_utf16(const std::string& bytes, bool big_endian, std::u16string& out) {
    if (bytes.size() % 2 != 0)
        return false;
    out.reserve(bytes.size() / 2);
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        auto hi = static_cast<unsigned char>(bytes[big_endian ? i : i + 1]);
        auto lo = static_cast<unsigned char>(bytes[big_endian ? i + 1 : i]);
        out.push_back(static_cast<char16_t>(hi << 8 | lo));
    }
    return true;
}

// UTF-8 to UTF-16; on invalid bytes, false with the line they are on.
bool decode_utf8(const std::string& bytes, std::u16string& out, int& bad_line) {
    size_t start = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    auto length = static_cast<int32_t>(bytes.size());
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    bad_line = 1;
    for (int32_t i = static_cast<int32_t>(start); i < length;) {
        UChar32 c;
        U8_NEXT(data, i, length, c);
        if (c < 0)
            return false;
        if (c == '\n')
            ++bad_line;
        if (U_IS_BMP(c)) {
            out.push_back(static_cast<char16_t>(c));
        } else {
            out.push_back(static_cast<char16_t>(U16_LEAD(c)));
            out.push_back(static_cast<char16_t>(U16_TRAIL(c)));
        }
    }
    return true;
}

std::string utf8_of(char16_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

bool is_word_char(char16_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || c == ':' || c == '.' || c == '/' || c == '-';
}

int hex_value(char16_t c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

class Reader {
  public:
    Reader(const std::u16string& text, const std::string& file) : text_(text), file_(file) {}

    bool run(std::vector<StringsEntry>& entries, std::string& error);

  private:
    bool fail(int line, const std::string& what) {
        error_ = file_ + ":" + std::to_string(line) + ": " + what;
        return false;
    }
    bool at_end() const { return pos_ >= text_.size(); }
    char16_t peek(size_t ahead = 0) const {
        return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : u'\0';
    }
    bool skip_space();
    bool read_token(std::u16string& out);
    bool read_quoted(std::u16string& out);
    void read_escape(std::u16string& out);

    const std::u16string& text_;
    const std::string& file_;
    size_t pos_ = 0;
    int line_ = 1;
    std::string error_;
};

bool Reader::skip_space() {
    while (!at_end()) {
        char16_t c = peek();
        if (c == '\n') {
            ++line_;
            ++pos_;
        } else if (c == ' ' || c == '\t' || c == '\r' || c == 0xFEFF) {
            ++pos_;
        } else if (c == '/' && peek(1) == '/') {
            while (!at_end() && peek() != '\n')
                ++pos_;
        } else if (c == '/' && peek(1) == '*') {
            const int opened = line_;
            pos_ += 2;
            while (!at_end() && !(peek() == '*' && peek(1) == '/'))
                line_ += text_[pos_++] == '\n';
            if (at_end())
                return fail(opened, "comment not closed");
            pos_ += 2;
        } else {
            break;
        }
    }
    return true;
}

void Reader::read_escape(std::u16string& out) {
    char16_t c = text_[pos_++];
    switch (c) {
    case 'n':
        out += u'\n';
        return;
    case 't':
        out += u'\t';
        return;
    case 'r':
        out += u'\r';
        return;
    case 'a':
        out += u'\a';
        return;
    case 'b':
        out += u'\b';
        return;
    case 'f':
        out += u'\f';
        return;
    case 'v':
        out += u'\v';
        return;
    case 'U': {
        char16_t value = 0;
        for (int digits = 0; digits < 4 && hex_value(peek()) >= 0; ++digits)
            value = static_cast<char16_t>(value << 4 | hex_value(text_[pos_++]));
        out += value;
        return;
    }
    default:
        break;
    }
    if (c >= '0' && c <= '7') {
        char16_t value = c - '0';
        for (int digits = 1; digits < 3 && peek() >= '0' && peek() <= '7'; ++digits)
            value = static_cast<char16_t>(value * 8 + (text_[pos_++] - '0'));
        out += value;
        return;
    }
    line_ += c == '\n';
    out += c; // \" \\ \' and any other character stand for themselves
}

bool Reader::read_quoted(std::u16string& out) {
    const int opened = line_;
    ++pos_; // the opening quote
    while (!at_end() && peek() != '"') {
        char16_t c = text_[pos_++];
        if (c == '\\' && !at_end()) {
            read_escape(out);
            continue;
        }
        line_ += c == '\n';
        out += c;
    }
    if (at_end())
        return fail(opened, "string not closed");
    ++pos_;
    return true;
}

bool Reader::read_token(std::u16string& out) {
    out.clear();
    if (at_end())
        return fail(line_, "unexpected end of file");
    if (peek() == '"')
        return read_quoted(out);
    if (!is_word_char(peek()))
        return fail(line_, "unexpected \"" + utf8_of(peek()) + "\"");
    while (!at_end() && is_word_char(peek()))
        out += text_[pos_++];
    return true;
}

bool Reader::run(std::vector<StringsEntry>& entries, std::string& error) {
    std::u16string key;
    std::u16string value;
    while (skip_space() && !at_end()) {
        if (!read_token(key) || !skip_space())
            break;
        if (peek() == ';') {
            ++pos_;
            entries.emplace_back(key, key);
            continue;
        }
        if (peek() != '=') {
            fail(line_, "expected \"=\" or \";\" after a key");
            break;
        }
        ++pos_;
        if (!skip_space() || !read_token(value) || !skip_space())
            break;
        if (peek() != ';') {
            fail(line_, "expected \";\" after a value");
            break;
        }
        ++pos_;
        entries.emplace_back(key, value);
    }
    error = error_;
    return error_.empty();
}

} // namespace

bool parse_strings_file(const std::string& bytes, const std::string& file_name,
                        std::vector<StringsEntry>& entries, std::string& error) {
    std::u16string text;
    const bool bom_le = bytes.compare(0, 2, "\xFF\xFE") == 0;
    const bool bom_be = bytes.compare(0, 2, "\xFE\xFF") == 0;
    if (bom_le || bom_be) {
        if (!decode_utf16(bytes, bom_be, text)) {
            error = file_name + ":1: UTF-16 text with an odd number of bytes";
            return false;
        }
    } else {
        int bad_line = 1;
        if (!decode_utf8(bytes, text, bad_line)) {
            error = file_name + ":" + std::to_string(bad_line) + ": not UTF-8 text";
            return false;
        }
    }
    return Reader(text, file_name).run(entries, error);
}

} // namespace cf
