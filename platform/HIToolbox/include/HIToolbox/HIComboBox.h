/*
 * HIComboBox.h: the combo box, an editable text field with a list of
 * entries the user can open and pick from. Its text behaves as an edit
 * text's: the kControlEditText... data tags (text, CFString, selection, key
 * filter, locked), typing through kEventTextInputUnicodeForKeyEvent and the
 * field's key filter, kEventTextDidChange.
 */
#ifndef HITOOLBOX_HICOMBOBOX_H
#define HITOOLBOX_HICOMBOBOX_H

#include <CoreFoundation/CFArray.h>
#include <CoreFoundation/CFString.h>
#include <HIToolbox/ControlDefinitions.h>
#include <HIToolbox/HIView.h>

CF_EXTERN_C_BEGIN

enum { kControlKindHIComboBox = 0x63626278 /* 'cbbx' */ };
#define kHIComboBoxClassID CFSTR("com.apple.HIComboBox")

/* Attributes. They are kept and reported; the list is never sorted or
   completed here (it keeps the order it is given). */
enum {
    kHIComboBoxNoAttributes = 0,
    kHIComboBoxAutoCompletionAttribute = 1 << 0,
    kHIComboBoxAutoDisclosureAttribute = 1 << 1,
    kHIComboBoxAutoSortAttribute = 1 << 2,
    kHIComboBoxAutoSizeListAttribute = 1 << 3,
    kHIComboBoxStandardAttributes = kHIComboBoxAutoCompletionAttribute |
                                    kHIComboBoxAutoDisclosureAttribute |
                                    kHIComboBoxAutoSizeListAttribute
};

/* Sent to the combo box when the user picks an entry of its list, after
   its text has become the entry's; the entry's index (from 0) is in
   kEventParamComboBoxListSelectedItemIndex. */
enum { kEventClassHIComboBox = 0x68696362 /* 'hicb' */ };
enum { kEventComboBoxListItemSelected = 1 };
enum { kEventParamComboBoxListSelectedItemIndex = 0x63626C69 /* 'cbli' */ };
enum { typeCFIndex = 0x63666978 /* 'cfix' */ };

/*
 * A combo box with `text` (may be NULL), the font style (may be NULL) and
 * the strings of `list` (may be NULL; copied) as its entries. It belongs to
 * no window until it is added to a view (HIViewAddSubview), which takes over
 * the caller's reference; one never added is released with CFRelease.
 * paramErr for a NULL rectangle or result, or a list that holds anything
 * but strings.
 */
CF_EXPORT OSStatus HIComboBoxCreate(const HIRect* boundsRect, CFStringRef text,
                                    const ControlFontStyleRec* style, CFArrayRef list,
                                    OptionBits inAttributes, HIViewRef* outComboBox);

/* The number of entries; 0 for a view that is not a combo box. */
CF_EXPORT ItemCount HIComboBoxGetItemCount(HIViewRef inComboBox);

/* Entries are numbered from 0. Inserting at the count appends. paramErr for
   an index out of range, a missing string or a view that is not a combo box. */
CF_EXPORT OSStatus HIComboBoxInsertTextItemAtIndex(HIViewRef inComboBox, CFIndex inIndex,
                                                   CFStringRef inText);
CF_EXPORT OSStatus HIComboBoxAppendTextItem(HIViewRef inComboBox, CFStringRef inText,
                                            CFIndex* outIndex);
/* A new string the caller releases. */
CF_EXPORT OSStatus HIComboBoxCopyTextItemAtIndex(HIViewRef inComboBox, CFIndex inIndex,
                                                 CFStringRef* outString);
CF_EXPORT OSStatus HIComboBoxRemoveItemAtIndex(HIViewRef inComboBox, CFIndex inIndex);

CF_EXPORT OSStatus HIComboBoxChangeAttributes(HIViewRef inComboBox, OptionBits inAttributesToSet,
                                              OptionBits inAttributesToClear);
CF_EXPORT OSStatus HIComboBoxGetAttributes(HIViewRef inComboBox, OptionBits* outAttributes);

/* Whether the drop-down list is open; opening shows it below the field, on
   top of what lies there, until an entry is picked or it is closed. */
CF_EXPORT Boolean HIComboBoxIsListVisible(HIViewRef inComboBox);
CF_EXPORT OSStatus HIComboBoxSetListVisible(HIViewRef inComboBox, Boolean inVisible);

CF_EXTERN_C_END

#endif /* HITOOLBOX_HICOMBOBOX_H */
