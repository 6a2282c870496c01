/*
 * AccountingControls.h: finding the controls of the panel and of the prompt dialog by their
 * IDs, and setting them up from a table: kept in the context, localised, sized, filled.
 */
#ifndef ACCOUNTING_ACCOUNTINGCONTROLS_H
#define ACCOUNTING_ACCOUNTINGCONTROLS_H

#include "AccountingContext.h"
#include "ControlLayout.h"
#include "SettingMaps.h"

CF_EXTERN_C_BEGIN

/* The control with the accounting signature "TVKa" and this number in the window, or NULL
   (also for a NULL window). */
ControlRef FindAccountingControl(WindowRef window, SInt32 id);

CF_EXTERN_C_END

#ifdef __cplusplus

#include <span>

/* C++ from here on: these stay inside the bundle, which exports only its C names. */

/* Puts a zero-terminated code into an edit text field as plain text, its bytes without the
   terminator; nothing for a NULL field. */
void PutAccountingCode(ControlRef field, const char* code);

/* The text of an edit text field, which the caller releases; NULL for a NULL field or one
   whose text cannot be read. */
CFStringRef CopyAccountingFieldText(ControlRef field);

/* Reads an edit text field's text with `tag` (plain or password) into a code store: the whole
   characters of its first `limit` bytes, at most 79, and a zero byte after them. False, and the
   store untouched, for a NULL field or one whose text cannot be read. */
bool ReadAccountingCode(ControlRef field, ResType tag, size_t limit, char* store);

/* Makes `filter` the key filter of an edit text field; nothing for a NULL field. */
void SetAccountingKeyFilter(ControlRef field, ControlKeyFilterUPP filter);

/* How SetControlBestRect fits a control to its new text. */
enum : UInt32 {
    /* Fills its width, centred vertically at its preferred height: labels, check boxes. */
    kFitFillWidth = kBestRectAnchorLeft | kBestRectAnchorRight,
    /* Fills its width, keeps its top, takes its preferred height: text that may wrap. */
    kFitFillWidthKeepTop = kBestRectAnchorLeft | kBestRectAnchorRight | kBestRectAnchorTop,
    /* Keeps its right edge and its height, grows leftward: push buttons at a window's corner. */
    kFitKeepRight = kBestRectAnchorRight | kBestRectAnchorTop | kBestRectAnchorBottom
};

/* What setting up a control gives it. */
enum class AccountingControlText {
    none,       /* only found and kept */
    staticText, /* SetLocalizedStaticText */
    title,      /* SetLocalizedControlTitle */
    button,     /* SetLocalizedControlTitle; sized with the running offset of the table's
                   buttons, so each moves left by as much as those set up before it grew */
    popup       /* filled from a setting table and set to a setting's value */
};

/* One control of a dialog, in the order the table sets them up. */
struct AccountingControl {
    SInt32 id;
    ControlRef AccountingContext::*field; /* where it is kept; nullptr: only while set up */
    AccountingControlText text;
    const char* key; /* localisation key of its text; nullptr for none */
    UInt32 fit;      /* SetControlBestRect options after the text is set; 0: not sized */
    const SettingMap* map = nullptr;            /* popups: the rows of the menu */
    SInt32 AccountingContext::*value = nullptr; /* popups: the setting selected */
};

/* Looks up each row's control in `window` and keeps it in its field, gives it its localised
   text and fits it to that text; then fills each popup from its table and selects the value of
   its setting. A control the window lacks leaves its field NULL and is skipped. */
void SetUpAccountingControls(AccountingContext* context, WindowRef window,
                             std::span<const AccountingControl> rows);

#endif

#endif /* ACCOUNTING_ACCOUNTINGCONTROLS_H */
