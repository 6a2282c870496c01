// The text engine's text: paragraphs of UTF-16 units, the mapping between
// offsets and paragraphs, and replacing a range (the one way text changes).
#include "TXNInternal.h"

#include <algorithm>

namespace hit::txn {
namespace {

bool is_break(char16_t c) {
    return c == u'\r' || c == u'\n';
}

size_t paragraph_length(const Paragraph& p) {
    return p.text.size() + (p.end != 0 ? 1 : 0);
}

// Splits `units` into paragraphs; the last one ends with `last_end`.
std::vector<Paragraph> split(const std::u16string& units, char16_t last_end) {
    std::vector<Paragraph> out;
    size_t from = 0;
    for (size_t i = 0; i < units.size(); ++i) {
        if (!is_break(units[i]))
            continue;
        Paragraph p;
        p.text.assign(units, from, i - from);
        p.end = units[i];
        out.push_back(std::move(p));
        from = i + 1;
    }
    Paragraph last;
    last.text.assign(units, from, units.size() - from);
    last.end = last_end;
    out.push_back(std::move(last));
    return out;
}

bool is_word_unit(char16_t c) {
    // Letters, digits and everything beyond ASCII (ideographs, kana) make words.
    return c >= 0x80 || (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') ||
           (c >= u'a' && c <= u'z') || c == u'_';
}

} // namespace

const std::vector<size_t>& starts(OpaqueTXNObject* o) {
    if (o->starts_dirty) {
        o->starts.resize(o->paragraphs.size());
        size_t at = 0;
        for (size_t i = 0; i < o->paragraphs.size(); ++i) {
            o->starts[i] = at;
            at += paragraph_length(o->paragraphs[i]);
        }
        o->starts_dirty = false;
    }
    return o->starts;
}

size_t paragraph_at(OpaqueTXNObject* o, size_t offset) {
    const std::vector<size_t>& s = starts(o);
    // The last paragraph starting at or before the offset; a paragraph's
    // end unit belongs to it, so an offset just past an end starts the next.
    auto it = std::upper_bound(s.begin(), s.end(), offset);
    return static_cast<size_t>(std::max<ptrdiff_t>(0, (it - s.begin()) - 1));
}

size_t clamp(const OpaqueTXNObject* o, TXNOffset offset) {
    return std::min(static_cast<size_t>(offset), o->length);
}

std::u16string text_range(OpaqueTXNObject* o, size_t from, size_t to) {
    std::u16string out;
    if (from >= to)
        return out;
    out.reserve(to - from);
    size_t i = paragraph_at(o, from);
    size_t at = starts(o)[i];
    for (; i < o->paragraphs.size() && at < to; ++i) {
        const Paragraph& p = o->paragraphs[i];
        const size_t a = from > at ? from - at : 0;
        const size_t b = std::min(to - at, p.text.size());
        if (a < b)
            out.append(p.text, a, b - a);
        if (p.end != 0 && to - at > p.text.size() && from - std::min(from, at) <= p.text.size())
            out += p.end;
        at += paragraph_length(p);
    }
    return out;
}

void replace(OpaqueTXNObject* o, size_t from, size_t to, const std::u16string& units) {
    from = std::min(from, o->length);
    to = std::clamp(to, from, o->length);
    const size_t first = paragraph_at(o, from);
    const size_t last = paragraph_at(o, to);
    const size_t first_start = starts(o)[first];
    const size_t last_start = starts(o)[last];
    const Paragraph& tail = o->paragraphs[last];
    std::u16string combined = o->paragraphs[first].text.substr(0, from - first_start);
    combined += units;
    // An offset just past an end starts the next paragraph, so `to` is never
    // beyond the text of its own.
    combined.append(tail.text, to - last_start, std::u16string::npos);
    std::vector<Paragraph> fresh = split(combined, tail.end);
    for (size_t i = first; i <= last; ++i)
        drop_layout(o->paragraphs[i]);
    o->paragraphs.erase(o->paragraphs.begin() + static_cast<ptrdiff_t>(first),
                        o->paragraphs.begin() + static_cast<ptrdiff_t>(last) + 1);
    o->paragraphs.insert(o->paragraphs.begin() + static_cast<ptrdiff_t>(first),
                         std::make_move_iterator(fresh.begin()),
                         std::make_move_iterator(fresh.end()));
    o->length = o->length - (to - from) + units.size();
    o->starts_dirty = true;
    o->sel_start = o->sel_end = o->anchor = from + units.size();
}

void edit(OpaqueTXNObject* o, size_t from, size_t to, const std::u16string& units,
          TXNActionKey key) {
    const bool joins = key == kTXNTypingAction && o->typing_open && !o->undo.empty() &&
                       o->undo.back().key == kTXNTypingAction &&
                       o->undo.back().at + o->undo.back().inserted.size() == from;
    if (joins && from == to) {
        o->undo.back().inserted += units;
    } else {
        Action a;
        a.at = from;
        a.removed = text_range(o, from, to);
        a.inserted = units;
        a.sel_start = o->sel_start;
        a.sel_end = o->sel_end;
        a.key = key;
        o->undo.push_back(std::move(a));
    }
    o->redo.clear();
    o->typing_open = key == kTXNTypingAction;
    replace(o, from, to, units);
}

void select(OpaqueTXNObject* o, size_t from, size_t to) {
    from = std::min(from, o->length);
    to = std::min(to, o->length);
    o->anchor = from;
    o->sel_start = std::min(from, to);
    o->sel_end = std::max(from, to);
    o->typing_open = false;
}

void word_at(OpaqueTXNObject* o, size_t offset, size_t* from, size_t* to) {
    const size_t i = paragraph_at(o, offset);
    const size_t start = starts(o)[i];
    const std::u16string& t = o->paragraphs[i].text;
    size_t a = std::min(offset - start, t.size());
    size_t b = a;
    const bool word = b < t.size() ? is_word_unit(t[b]) : a > 0 && is_word_unit(t[a - 1]);
    while (a > 0 && is_word_unit(t[a - 1]) == word)
        --a;
    while (b < t.size() && is_word_unit(t[b]) == word)
        ++b;
    *from = start + a;
    *to = start + b;
}

size_t previous_char(OpaqueTXNObject* o, size_t offset) {
    if (offset == 0)
        return 0;
    if (offset >= 2) {
        const std::u16string pair = text_range(o, offset - 2, offset);
        if (pair.size() == 2 && (pair[0] & 0xFC00) == 0xD800 && (pair[1] & 0xFC00) == 0xDC00)
            return offset - 2;
    }
    return offset - 1;
}

size_t next_char(OpaqueTXNObject* o, size_t offset) {
    if (offset >= o->length)
        return o->length;
    const std::u16string pair = text_range(o, offset, std::min(offset + 2, o->length));
    if (pair.size() == 2 && (pair[0] & 0xFC00) == 0xD800 && (pair[1] & 0xFC00) == 0xDC00)
        return offset + 2;
    return offset + 1;
}

} // namespace hit::txn
