// The host's own texts (its window's title and buttons) in the person's language.
#ifndef HOST_HOSTTEXTS_H
#define HOST_HOSTTEXTS_H

namespace host {

struct HostTexts {
    const char* language; // "en", "de", "fr" or "ja"
    const char* print;    // the window's title and the default button
    const char* cancel;
    const char* untitled; // a panel without a title, in the panel menu
};

// The texts in the first of the person's preferred languages the host speaks (LANGUAGE, then
// the locale, as for bundles), English when it speaks none of them. Decided once.
const HostTexts& host_texts();

} // namespace host

#endif
