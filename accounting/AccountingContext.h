/*
 * AccountingContext.h: everything the Accounting panel knows, in one record per panel
 * instance: the settings that travel in the print settings ticket, the codes typed by the
 * user, the panel's and the prompt dialog's controls, the installed handlers and the image
 * cache. Prolog creates it, Terminate frees it, and every handler gets it as its user data.
 */
#ifndef ACCOUNTING_ACCOUNTINGCONTEXT_H
#define ACCOUNTING_ACCOUNTINGCONTEXT_H

#include <Carbon/Carbon.h>

#ifdef __cplusplus
class ImageImportManager;
#else
typedef struct ImageImportManager ImageImportManager;
#endif

CF_EXTERN_C_BEGIN

/* Accounting systems. Only a print ticket brings kAccountingTallyset: the popup offers 1 and 3. */
enum { kAccountingNone = 1, kAccountingTallyset = 2, kAccountingEnabled = 3 };

/* Account types. */
enum { kAccountTypeDefaultGroup = 1, kAccountTypeGeneral = 2, kAccountTypeGroup = 3 };

/* Each code store holds at most 79 bytes of text in the system encoding and a zero byte. */
enum { kAccountingCodeSize = 80 };

/* Signature of every control ID of the panel and of the prompt dialog. */
enum { kAccountingControlSignature = 0x54564B61 /* "TVKa" */ };

typedef struct AccountingContext {
    /* Settings and codes. */
    CFBundleRef bundle; /* not owned */
    CFStringRef title;  /* owned */
    SInt32 accountingSystem;
    SInt32 accountType;
    SInt32 promptForEveryJob;
    SInt32 maskUserID;
    SInt32 maskAccountID;
    SInt32 auxiliaryInterface;
    SInt32 enterAtDevice;
    UInt8 dialogCancelled;
    UInt8 dialogAnswered; /* the prompt's modal loop was ended by its OK or Cancel button */
    char jobUserID[kAccountingCodeSize];
    char jobAccountID[kAccountingCodeSize];
    char defaultUserID[kAccountingCodeSize];
    char defaultAccountID[kAccountingCodeSize];

    /* Layout bookkeeping of setControls: a saved rectangle whose top is 0 is empty. */
    Rect accountLabelSavedBounds;
    Rect accountFieldSavedBounds;
    UInt8 panelBuilt;

    /* Host objects and controls; none owned. */
    ControlRef userPane;
    ControlRef panelPane;
    ControlRef accountingPopup;
    ControlRef accountingImage;
    ControlRef userIDField;
    ControlRef userIDLabel;
    ControlRef accountIDField;
    ControlRef accountIDLabel;
    ControlRef promptRadio;
    ControlRef maskUserIDCheck;
    ControlRef maskAccountIDCheck;
    ControlRef defaultCodesRadio;
    ControlRef defaultButton;
    ControlRef accountTypePopup;
    ControlRef accountTypeLabel;
    ControlRef noAccountingText;
    ControlRef auxiliaryInterfaceCheck;
    ControlRef enterAtDeviceRadio;
    ControlRef auxInfoNote;
    ControlRef enterNowRadio;
    PMPrintSession printSession;
    WindowRef window;
    WindowRef dialogWindow;
    EventHandlerUPP windowHandlerUPP; /* owned */
    EventHandlerRef windowHandler;
    EventHandlerUPP commandHandlerUPP; /* owned */
    EventHandlerRef commandHandler;
    CFBundleRef helpBookRef;          /* not owned: read from the default button's property */
    ImageImportManager* imageManager; /* owned */
} AccountingContext;

/* The context most recently made by Prolog; the key filter reads the accounting system here. */
CF_EXPORT AccountingContext* gContext;
/* Bytes kept of each code read back from the prompt dialog: 12 for the Tallyset system, 64
   when accounting is enabled, 0 until a layout has chosen. */
CF_EXPORT SInt32 gMaxChars;

/* Allocates a zeroed context with the initial settings (no accounting, default group
   account). NULL when memory runs out. */
AccountingContext* CreateAccountingContext(void);

/* Copies a zero-terminated code into a store, cutting it to the store's 79 bytes. Every cut
   of a code ends on a whole character of the system encoding. */
void CopyAccountingCode(char* store, const char* text);

/* The number of leading bytes of `bytes` (of `length` bytes) that are at most `limit` and end
   on a whole character of the system encoding: a code cut in the middle of a character is no
   text, and the ticket cannot take it. */
size_t AccountingCodeLength(const char* bytes, size_t length, size_t limit);

/* Stores the leading whole characters of `bytes` (of `length` bytes) that fit in `limit` bytes,
   at most 79, and a zero byte after them. */
void StoreAccountingCode(char* store, const char* bytes, size_t length, size_t limit);

CF_EXTERN_C_END

#endif /* ACCOUNTING_ACCOUNTINGCONTEXT_H */
