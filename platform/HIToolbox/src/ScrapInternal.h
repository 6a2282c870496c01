// The scrap's text, as the toolbox's own editors put and take it.
#ifndef HITOOLBOX_SRC_SCRAPINTERNAL_H
#define HITOOLBOX_SRC_SCRAPINTERNAL_H

#include <string>

namespace hit {

// Adds the text to the current scrap as Unicode and as system-encoding
// bytes (the caller cleared it first). `announce`: tell the host.
void scrap_put_text(const std::u16string& units, bool announce = true);
// The scrap's text (Unicode, else plain text); false when it has none.
bool scrap_copy_text(std::u16string* out);

} // namespace hit

#endif // HITOOLBOX_SRC_SCRAPINTERNAL_H
