// The host's own texts (its window's title and buttons, the alert that says why a print was
// stopped) in the person's language.
#ifndef HOST_HOSTTEXTS_H
#define HOST_HOSTTEXTS_H

namespace host {

// Why a print was stopped, as the alert explains it. In the texts "^1" stands for what the
// reason is about (a panel, a folder, a document, a printer) and "^2" for a detail.
struct StopTexts {
    const char* notPrinted;    // the alert's message
    const char* panelSettings; // ^1 a panel's title, ^2 the status its Sync returned
    const char* outputFolder;  // ^1 the folder
    const char* document;      // ^1 the document
    const char* jobFile;       // ^1 the folder the job could not be saved in
    const char* printerGone;   // ^1 the CUPS destination
    const char* printerRejects;
    const char* printerRefused; // ^2 what CUPS said
};

struct HostTexts {
    const char* language; // "en", "de", "fr" or "ja"
    const char* print;    // the window's title and the default button
    const char* cancel;
    const char* untitled; // a panel without a title, in the panel menu
    const char* summary;  // the panel menu's last item
    StopTexts stop;
};

// The texts in the first of the person's preferred languages the host speaks (LANGUAGE, then
// the locale, as for bundles), English when it speaks none of them. Decided once.
const HostTexts& host_texts();

// The texts of one language; English for one the host does not speak.
const HostTexts& host_texts_for(const char* language);

} // namespace host

#endif
