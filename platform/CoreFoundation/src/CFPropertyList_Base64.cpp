// Base64 (RFC 4648, standard alphabet), as <data> elements hold it.
#include "CFPropertyListInternal.h"

namespace cf::plist {
namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int sextet(char c) {
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

bool is_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace

std::string base64_encode(const UInt8* bytes, size_t length) {
    std::string out;
    out.reserve((length + 2) / 3 * 4);
    for (size_t i = 0; i < length; i += 3) {
        UInt32 group = static_cast<UInt32>(bytes[i]) << 16;
        if (i + 1 < length)
            group |= static_cast<UInt32>(bytes[i + 1]) << 8;
        if (i + 2 < length)
            group |= bytes[i + 2];
        out += kAlphabet[group >> 18 & 63];
        out += kAlphabet[group >> 12 & 63];
        out += i + 1 < length ? kAlphabet[group >> 6 & 63] : '=';
        out += i + 2 < length ? kAlphabet[group & 63] : '=';
    }
    return out;
}

bool base64_decode(std::string_view text, std::vector<UInt8>* out) {
    out->clear();
    UInt32 group = 0;
    int sextets = 0, padding = 0;
    for (char c : text) {
        if (is_space(c))
            continue;
        if (c == '=') {
            // Padding only completes a group of two or three sextets.
            if (sextets + padding < 2 || ++padding > 2)
                return false;
            continue;
        }
        int value = sextet(c);
        if (value < 0 || padding > 0)
            return false;
        group = group << 6 | static_cast<UInt32>(value);
        if (++sextets == 4) {
            out->push_back(static_cast<UInt8>(group >> 16));
            out->push_back(static_cast<UInt8>(group >> 8));
            out->push_back(static_cast<UInt8>(group));
            group = 0;
            sextets = 0;
        }
    }
    // A lone sextet carries no whole byte; padding must fill its group exactly.
    if (sextets == 1 || (padding > 0 && sextets + padding != 4))
        return false;
    if (sextets >= 2)
        out->push_back(static_cast<UInt8>(group >> (sextets == 2 ? 4 : 10)));
    if (sextets == 3)
        out->push_back(static_cast<UInt8>(group >> 2));
    return true;
}

} // namespace cf::plist
