/*
 * TextViews.h: the scrolling text control ("YAST"): a user pane hosting a
 * text engine object with a vertical scroll bar, an edit-text frame and a
 * focus ring, its text, selection and options reached through the
 * ordinary SetControlData and GetControlData calls with the tags below;
 * and a read-only summary view built on it.
 */
#ifndef TOOLKIT_TEXTVIEWS_H
#define TOOLKIT_TEXTVIEWS_H

#include <Carbon/Carbon.h>

CF_EXTERN_C_BEGIN

/* Data tags of a YAST control (part 0); the size each requires follows. */
enum {
    kYASTControlAllTextTag = 0x74657874 /* 'text': "TEXT" bytes, any size */,
    kYASTControlSelectedTextTag = 0x73656C63 /* 'selc': "TEXT" bytes, any size */,
    kYASTControlAllUnicodeTextTag = 0x63667374 /* 'cfst': a CFStringRef */,
    kYASTControlSelectedUnicodeTextTag = 0x73656C74 /* 'selt': a CFStringRef */,
    kYASTControlSelectionRangeTag = 0x7473656C /* 'tsel': YASTControlEditTextSelectionRec */,
    kYASTControlTabSizeTag = 0x74616273 /* 'tabs': SInt16 pixels */,
    kYASTControlFontSizeTag = 0x6673697A /* 'fsiz': Fixed points, set only */,
    kYASTControlDoDrawFocusTag = 0x66647277 /* 'fdrw': Boolean */,
    kYASTControlTabsAdvanceFocusTag = 0x66746162 /* 'ftab': Boolean */,
    kYASTControlReadOnlyTag = 0x7264706D /* 'rdpm': Boolean */,
    kYASTControlVisibilityTag = 0x79766973 /* 'yvis': Boolean, set only */,
    kYASTControlDrawCaretTag = 0x64726361 /* 'drca': Boolean, set only */,
    kYASTControlTXObjectTag = 0x74786F62 /* 'txob': the TXNObject, get only */
};

typedef struct YASTControlEditTextSelectionRec {
    UInt32 selStart;
    UInt32 selEnd;
} YASTControlEditTextSelectionRec;

/* One per YAST control, from its attachment to its disposal. */
typedef struct YASTControlRecord {
    TXNObject textObject;
    ControlRef control;
    WindowRef window;
    CGrafPtr port;
    Boolean isFocused;
    Boolean isActive;
    Boolean textActive;
    Boolean tabsAdvanceFocus;
    Boolean drawFocusRing;
    Boolean focusRingDrawn;
    Boolean readOnly;
    Boolean textVisible;
    Rect boundsRect; /* the control's bounds: the cursor's area */
    Rect textRect;   /* the text object's frame and the hit-test area */
    Rect focusRect;  /* where the focus ring goes */
    Rect frameRect;  /* where the edit-text frame goes */
    RgnHandle frameRegion;
    EventHandlerRef controlHandler;
    EventHandlerRef windowHandler;
} YASTControlRecord;

/* A new user pane at bounds in theWindow, made a YAST control. On failure
   the pane is disposed of and the status returned. */
CF_EXPORT OSStatus CreateYASTControl(WindowRef theWindow, const Rect* bounds,
                                     ControlRef* theControl);
/* Makes a control (a user pane from a nib, typically) a YAST control.
   memFullErr without memory for its region; on failure nothing stays. */
CF_EXPORT OSStatus YASTControlAttachToExistingControl(ControlRef theControl);
/* Makes the control a read-only summary view at fontSize points, with no
   focus ring and an empty text. */
CF_EXPORT OSStatus SetupTextViewControl(ControlRef control, SInt16 fontSize);
/* Replaces a summary view's text; it stays read-only. paramErr for a NULL
   string. */
CF_EXPORT OSStatus UpdateSummaryTextView(ControlRef control, CFStringRef string);

CF_EXTERN_C_END

#endif /* TOOLKIT_TEXTVIEWS_H */
