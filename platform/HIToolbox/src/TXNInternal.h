// The text engine's object, shared by its files: the text as paragraphs
// (TXNText.cpp), their layouts and the drawing (TXNLayout.cpp), the public
// calls on the object (TXNObject.cpp), mouse and keyboard (TXNInput.cpp) and
// the edit commands with their undo history (TXNEdit.cpp).
//
// Layout is per paragraph and lazy: a paragraph is laid out with pango when
// it is drawn or measured, and an edit throws away only the layouts of the
// paragraphs it touched. Until a paragraph is laid out its height is an
// estimate from its length, so a large text costs little until it is seen.
#ifndef HITOOLBOX_SRC_TXNINTERNAL_H
#define HITOOLBOX_SRC_TXNINTERNAL_H

#include <HIToolbox/MacTextEditor.h>

#include <CoreFoundation/CFRuntime.h>

#include <pango/pangocairo.h>

#include <string>
#include <vector>

namespace hit::txn {

struct Paragraph {
    std::u16string text; // without its end
    char16_t end = 0;    // the CR or LF that ends it; 0 for the last paragraph
    PangoLayout* layout = nullptr;
    int height = -1;    // pixels; -1 until measured or estimated
    bool exact = false; // height comes from the layout
};

// One step of the undo history: `removed` was replaced by `inserted` at `at`.
struct Action {
    size_t at = 0;
    std::u16string removed;
    std::u16string inserted;
    size_t sel_start = 0, sel_end = 0; // the selection before
    TXNActionKey key = kTXNTypingAction;
};

struct Colour16 {
    double r = 0, g = 0, b = 0;
};

} // namespace hit::txn

struct OpaqueTXNObject : cf::Object {
    using Paragraph = hit::txn::Paragraph;

    // Text.
    std::vector<Paragraph> paragraphs{Paragraph{}};
    std::vector<size_t> starts; // offset of each paragraph; valid when !starts_dirty
    bool starts_dirty = true;
    size_t length = 0; // UTF-16 units, ends included
    size_t sel_start = 0, sel_end = 0;
    size_t anchor = 0; // the fixed end of a selection being extended

    // Where and how.
    Rect frame{};
    TXNFrameOptions options = 0;
    WindowRef window = nullptr;
    TXNMargins margins{0, 0, 0, 0};
    SInt16 tab_width = 0; // 0: pango's default
    double font_pixels = 12;
    int line_height = 0;   // of the font, for estimates; 0 until measured
    double char_width = 0; // the font's average advance, for estimates
    hit::txn::Colour16 text_colour{};
    hit::txn::Colour16 background{1, 1, 1};
    bool read_only = false;
    bool visible = true;
    bool wrap = true;
    bool caret_when_inactive = false;
    bool selection_when_inactive = true;
    bool focused = false;
    bool scroll_active = true;
    int scroll_y = 0; // pixels of text above the view

    // Input.
    enum class Drag { none, text, thumb } drag = Drag::none;
    int thumb_grab = 0;                // where in the thumb it was grabbed
    bool by_word = false;              // a double click's drag selects whole words
    size_t word_from = 0, word_to = 0; // the word it started on
    EventHandlerRef window_handler = nullptr;
    UInt32 last_click_time = 0;
    size_t last_click_offset = static_cast<size_t>(-1);

    // Undo.
    std::vector<hit::txn::Action> undo, redo;
    bool typing_open = false; // the last undo action may grow with more typing
};

namespace hit::txn {

CFTypeID type_id();
// The object when it is one; else nullptr, with a line on standard error.
OpaqueTXNObject* object(TXNObject o, const char* function);

// ---- Text (TXNText.cpp) ----------------------------------------------------

const std::vector<size_t>& starts(OpaqueTXNObject* o);
// The paragraph holding `offset` (a paragraph's end belongs to it).
size_t paragraph_at(OpaqueTXNObject* o, size_t offset);
// Clamps a caller's offset: kTXNEndOffset and beyond mean the end.
size_t clamp(const OpaqueTXNObject* o, TXNOffset offset);
std::u16string text_range(OpaqueTXNObject* o, size_t from, size_t to);
// Replaces from..to with `units` and puts the caret after them.
void replace(OpaqueTXNObject* o, size_t from, size_t to, const std::u16string& units);
// The same, recorded for undo (typing joins the typing before it).
void edit(OpaqueTXNObject* o, size_t from, size_t to, const std::u16string& units,
          TXNActionKey key);
void select(OpaqueTXNObject* o, size_t from, size_t to);
// Word boundaries around `offset`, within its paragraph.
void word_at(OpaqueTXNObject* o, size_t offset, size_t* from, size_t* to);
// The offset just before / after `offset`, a surrogate pair as one.
size_t previous_char(OpaqueTXNObject* o, size_t offset);
size_t next_char(OpaqueTXNObject* o, size_t offset);

// ---- Layout (TXNLayout.cpp) --------------------------------------------------

// The text's area: the frame less margins and the scroll bar.
Rect text_rect(const OpaqueTXNObject* o);
Rect scroll_bar_rect(const OpaqueTXNObject* o);
bool has_scroll_bar(const OpaqueTXNObject* o);
// Every layout is stale (font, width or tabs changed).
void drop_layouts(OpaqueTXNObject* o);
void drop_layout(Paragraph& p);
int paragraph_height(OpaqueTXNObject* o, size_t index);
// The layout of a paragraph, made when needed.
PangoLayout* layout(OpaqueTXNObject* o, size_t index);
int content_height(OpaqueTXNObject* o);
// The top of the paragraph, in text pixels (0 at the top of the text).
int paragraph_top(OpaqueTXNObject* o, size_t index);
// Where the caret stands for `offset`: x, top and height, in text pixels.
void caret_position(OpaqueTXNObject* o, size_t offset, int* x, int* y, int* height);
// The offset nearest to a point in text pixels.
size_t offset_at(OpaqueTXNObject* o, int x, int y);
// Keeps scroll_y within the text.
void clamp_scroll(OpaqueTXNObject* o);
// Scrolls the least that brings `offset` into view.
void scroll_to(OpaqueTXNObject* o, size_t offset);
// Draws the object into its window's port now (when attached and visible);
// only the rows band_top..band_bottom of the text (text pixels) when given.
void redraw(OpaqueTXNObject* o, int band_top = 0, int band_bottom = 0);
void draw(OpaqueTXNObject* o, cairo_t* cr, TXNDrawItems items, int band_top = 0,
          int band_bottom = 0);

// ---- Input (TXNInput.cpp) ----------------------------------------------------

// Acts on one typed text (the keyboard's char code and modifiers with it).
// false when the object does not take it.
bool type(OpaqueTXNObject* o, const std::u16string& text, SInt16 char_code, UInt32 modifiers);
void detach(OpaqueTXNObject* o);
// The window handler of an attached object: its typing while focused,
// drags, the wheel, and the window going away.
void install_window_handler(OpaqueTXNObject* o);

// ---- Objects in windows (TXNHosted.cpp) ----------------------------------------

void remember_attached(OpaqueTXNObject* o);
void forget_attached(OpaqueTXNObject* o);
// The first object attached to the window whose frame lies inside `bounds`:
// the text a control there hosts. nullptr when there is none.
OpaqueTXNObject* hosted_in(WindowRef window, const Rect& bounds);
// Appends a hosted object's text, selection and scroll position to a
// control's dump line (" text=\"...\" sel=0..2 scroll=0/120").
void dump_hosted(ControlRef control, std::string& line);
// Scrolls a hosted object by `lines` lines (down when positive), as the
// mouse wheel does.
void scroll_lines(OpaqueTXNObject* o, int lines);

} // namespace hit::txn

#endif // HITOOLBOX_SRC_TXNINTERNAL_H
