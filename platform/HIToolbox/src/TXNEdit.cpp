// The text engine's edit commands (cut, copy, paste, clear through the
// scrap) and its undo history: each action remembers what it replaced, so
// undoing puts that back and redoing replaces it again.
#include "ScrapInternal.h"
#include "TXNInternal.h"

#include <HIToolbox/Scrap.h>

using namespace hit::txn;

namespace {

OSStatus copy_selection(OpaqueTXNObject* o) {
    ClearCurrentScrap();
    hit::scrap_put_text(text_range(o, o->sel_start, o->sel_end));
    return noErr;
}

OSStatus remove_selection(OpaqueTXNObject* o, TXNActionKey key) {
    if (o->read_only)
        return kTXNDisabledFunctionalityErr;
    if (o->sel_start != o->sel_end) {
        edit(o, o->sel_start, o->sel_end, u"", key);
        scroll_to(o, o->sel_start);
        redraw(o);
    }
    return noErr;
}

// Applies one action forwards (redo) or backwards (undo).
void apply(OpaqueTXNObject* o, const Action& a, bool forwards) {
    const std::u16string& out = forwards ? a.removed : a.inserted;
    const std::u16string& in = forwards ? a.inserted : a.removed;
    replace(o, a.at, a.at + out.size(), in);
    if (forwards)
        select(o, a.at + in.size(), a.at + in.size());
    else
        select(o, a.sel_start, a.sel_end);
    o->typing_open = false;
    scroll_to(o, o->sel_end);
    redraw(o);
}

} // namespace

OSStatus TXNCopy(TXNObject iTXNObject) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    if (o == nullptr)
        return paramErr;
    return copy_selection(o);
}

OSStatus TXNCut(TXNObject iTXNObject) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    if (o == nullptr)
        return paramErr;
    if (o->read_only)
        return kTXNDisabledFunctionalityErr;
    copy_selection(o);
    return remove_selection(o, kTXNCutAction);
}

OSStatus TXNClear(TXNObject iTXNObject) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    if (o == nullptr)
        return paramErr;
    return remove_selection(o, kTXNClearAction);
}

OSStatus TXNPaste(TXNObject iTXNObject) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    if (o == nullptr)
        return paramErr;
    if (o->read_only)
        return kTXNDisabledFunctionalityErr;
    std::u16string text;
    if (!hit::scrap_copy_text(&text))
        return noTypeErr;
    edit(o, o->sel_start, o->sel_end, text, kTXNPasteAction);
    o->typing_open = false;
    scroll_to(o, o->sel_end);
    redraw(o);
    return noErr;
}

Boolean TXNIsScrapPastable(void) {
    std::u16string text;
    return hit::scrap_copy_text(&text);
}

void TXNUndo(TXNObject iTXNObject) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    if (o == nullptr || o->undo.empty() || o->read_only)
        return;
    Action a = std::move(o->undo.back());
    o->undo.pop_back();
    apply(o, a, false);
    o->redo.push_back(std::move(a));
}

void TXNRedo(TXNObject iTXNObject) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    if (o == nullptr || o->redo.empty() || o->read_only)
        return;
    Action a = std::move(o->redo.back());
    o->redo.pop_back();
    apply(o, a, true);
    o->undo.push_back(std::move(a));
}

Boolean TXNCanUndo(TXNObject iTXNObject, TXNActionKey* oTXNActionKey) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    if (o == nullptr || o->undo.empty() || o->read_only)
        return false;
    if (oTXNActionKey != nullptr)
        *oTXNActionKey = o->undo.back().key;
    return true;
}

Boolean TXNCanRedo(TXNObject iTXNObject, TXNActionKey* oTXNActionKey) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    if (o == nullptr || o->redo.empty() || o->read_only)
        return false;
    if (oTXNActionKey != nullptr)
        *oTXNActionKey = o->redo.back().key;
    return true;
}
