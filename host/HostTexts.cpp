// The host's texts in English, German, French and Japanese.
#include "HostTexts.h"

#include "CFText.h"

#include <CoreFoundation/CoreFoundation.h>

#include <string>

namespace host {
namespace {

constexpr HostTexts kTexts[] = {
    {"en",
     "Print",
     "Cancel",
     "(untitled)",
     "Summary",
     {"The document was not printed.",
      "The panel \u201C^1\u201D could not keep its settings (error ^2).",
      "The output folder ^1 cannot be made or written into.", "The document ^1 cannot be read.",
      "The job could not be saved in ^1.", "The printer ^1 is no longer available.",
      "The printer ^1 is not accepting jobs.", "The printer ^1 did not take the job: ^2"}},
    {"de",
     "Drucken",
     "Abbrechen",
     "(ohne Titel)",
     "\u00DCbersicht",
     {"Das Dokument wurde nicht gedruckt.",
      "Der Bereich \u201E^1\u201C konnte seine Einstellungen nicht \u00FCbernehmen (Fehler ^2).",
      "Der Ausgabeordner ^1 kann nicht angelegt oder beschrieben werden.",
      "Das Dokument ^1 kann nicht gelesen werden.",
      "Der Auftrag konnte nicht in ^1 gesichert werden.",
      "Der Drucker ^1 ist nicht mehr verf\u00FCgbar.",
      "Der Drucker ^1 nimmt keine Auftr\u00E4ge an.",
      "Der Drucker ^1 hat den Auftrag nicht angenommen: ^2"}},
    {"fr",
     "Imprimer",
     "Annuler",
     "(sans titre)",
     "R\u00E9sum\u00E9",
     {"Le document n\u2019a pas \u00E9t\u00E9 imprim\u00E9.",
      "La sous-fen\u00EAtre \u00AB\u00A0^1\u00A0\u00BB n\u2019a pas pu conserver ses r\u00E9glages "
      "(erreur ^2).",
      "Impossible de cr\u00E9er le dossier de sortie ^1 ou d\u2019y \u00E9crire.",
      "Impossible de lire le document ^1.", "Impossible d\u2019enregistrer la t\u00E2che dans ^1.",
      "L\u2019imprimante ^1 n\u2019est plus disponible.",
      "L\u2019imprimante ^1 n\u2019accepte pas de t\u00E2ches.",
      "L\u2019imprimante ^1 n\u2019a pas accept\u00E9 la t\u00E2che\u00A0: ^2"}},
    {"ja",
     "\u30D7\u30EA\u30F3\u30C8",
     "\u30AD\u30E3\u30F3\u30BB\u30EB",
     "(\u540D\u79F0\u672A\u8A2D\u5B9A)",
     "\u6982\u8981",
     {"\u66F8\u985E\u306F\u30D7\u30EA\u30F3\u30C8\u3055\u308C\u307E\u305B\u3093\u3067\u3057\u305F"
      "\u3002",
      "\u30D1\u30CD\u30EB\u201C^"
      "1\u201D\u306E\u8A2D\u5B9A\u3092\u4FDD\u6301\u3067\u304D\u307E\u305B\u3093\u3067\u3057\u305F"
      "\uFF08\u30A8\u30E9\u30FC ^2\uFF09\u3002",
      "\u51FA\u529B\u30D5\u30A9\u30EB\u30C0 ^1 "
      "\u3092\u4F5C\u6210\u3067\u304D\u306A\u3044\u304B\u3001\u66F8\u304D\u8FBC\u3081\u307E\u305B"
      "\u3093\u3002",
      "\u66F8\u985E ^1 \u3092\u8AAD\u307F\u8FBC\u3081\u307E\u305B\u3093\u3002",
      "\u30B8\u30E7\u30D6\u3092 ^1 "
      "\u306B\u4FDD\u5B58\u3067\u304D\u307E\u305B\u3093\u3067\u3057\u305F\u3002",
      "\u30D7\u30EA\u30F3\u30BF ^1 "
      "\u306F\u4F7F\u7528\u3067\u304D\u306A\u304F\u306A\u308A\u307E\u3057\u305F\u3002",
      "\u30D7\u30EA\u30F3\u30BF ^1 "
      "\u306F\u30B8\u30E7\u30D6\u3092\u53D7\u3051\u4ED8\u3051\u3066\u3044\u307E\u305B\u3093\u3002",
      "\u30D7\u30EA\u30F3\u30BF ^1 "
      "\u306F\u30B8\u30E7\u30D6\u3092\u53D7\u3051\u4ED8\u3051\u307E\u305B\u3093\u3067\u3057\u305F"
      "\uFF1A^2"}},
};

const HostTexts& choose() {
    CFStringRef names[std::size(kTexts)];
    for (size_t i = 0; i < std::size(kTexts); ++i)
        names[i] = CFStringCreateWithCString(nullptr, kTexts[i].language, kCFStringEncodingUTF8);
    cf::Holder<CFArrayRef> offered(CFArrayCreate(nullptr, reinterpret_cast<const void**>(names),
                                                 std::size(kTexts), &kCFTypeArrayCallBacks));
    for (CFStringRef name : names)
        CFRelease(name);
    cf::Holder<CFArrayRef> preferred(CFBundleCopyPreferredLocalizationsFromArray(offered.get()));
    if (preferred.get() == nullptr || CFArrayGetCount(preferred.get()) == 0)
        return kTexts[0];
    return host_texts_for(
        to_utf8(static_cast<CFStringRef>(CFArrayGetValueAtIndex(preferred.get(), 0))).c_str());
}

} // namespace

const HostTexts& host_texts_for(const char* language) {
    for (const HostTexts& texts : kTexts)
        if (std::string(language) == texts.language)
            return texts;
    return kTexts[0];
}

const HostTexts& host_texts() {
    static const HostTexts& texts = choose();
    return texts;
}

} // namespace host
