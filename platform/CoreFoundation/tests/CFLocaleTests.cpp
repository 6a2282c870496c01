#include "StringTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

using cftest::utf8;

namespace {

// Sets environment variables for one test and restores them afterwards.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        const char* old = std::getenv(name);
        had_ = old != nullptr;
        if (had_)
            old_ = old;
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (had_)
            setenv(name_, old_.c_str(), 1);
        else
            unsetenv(name_);
    }

  private:
    const char* name_;
    bool had_;
    std::string old_;
};

std::string value(CFLocaleRef locale, CFLocaleKey key) {
    return utf8(static_cast<CFStringRef>(CFLocaleGetValue(locale, key)));
}

TEST(CFLocale, SeparatorsFollowTheLocale) {
    cf::Holder<CFLocaleRef> de(CFLocaleCreate(nullptr, CFSTR("de_DE")));
    cf::Holder<CFLocaleRef> us(CFLocaleCreate(nullptr, CFSTR("en_US")));
    EXPECT_EQ(value(de.get(), kCFLocaleDecimalSeparator), ",");
    EXPECT_EQ(value(de.get(), kCFLocaleGroupingSeparator), ".");
    EXPECT_EQ(value(us.get(), kCFLocaleDecimalSeparator), ".");
    EXPECT_EQ(value(us.get(), kCFLocaleGroupingSeparator), ",");
    EXPECT_EQ(value(de.get(), kCFLocaleLanguageCode), "de");
    EXPECT_EQ(value(de.get(), kCFLocaleCountryCode), "DE");
    EXPECT_EQ(value(de.get(), kCFLocaleCurrencyCode), "EUR");
    EXPECT_EQ(value(de.get(), kCFLocaleCurrencySymbol), "€");
    // Values are owned by the locale and stay the same object.
    EXPECT_EQ(CFLocaleGetValue(de.get(), kCFLocaleDecimalSeparator),
              CFLocaleGetValue(de.get(), kCFLocaleDecimalSeparator));
    EXPECT_EQ(CFLocaleGetValue(de.get(), CFSTR("no such key")), nullptr);
}

TEST(CFLocale, IdentifiersAreCanonical) {
    for (const char* raw : {"de_DE", "de-DE", "de_DE.UTF-8", "de_DE.UTF-8@euro"}) {
        cf::Holder<CFStringRef> text(cftest::make(raw));
        cf::Holder<CFLocaleRef> locale(CFLocaleCreate(nullptr, text.get()));
        EXPECT_EQ(utf8(CFLocaleGetIdentifier(locale.get())), "de_DE") << raw;
        cf::Holder<CFStringRef> canonical(
            CFLocaleCreateCanonicalLocaleIdentifierFromString(nullptr, text.get()));
        EXPECT_EQ(utf8(canonical.get()), "de_DE") << raw;
    }
    EXPECT_EQ(CFLocaleCreate(nullptr, CFSTR("")), nullptr);
    cf::Holder<CFLocaleRef> a(CFLocaleCreate(nullptr, CFSTR("fr_FR")));
    cf::Holder<CFLocaleRef> b(CFLocaleCreate(nullptr, CFSTR("fr-FR")));
    EXPECT_TRUE(CFEqual(a.get(), b.get()));
    EXPECT_EQ(CFHash(a.get()), CFHash(b.get()));
}

TEST(CFLocale, CurrentLocaleFromTheEnvironmentInOrder) {
    ScopedEnv all("LC_ALL", nullptr), numeric("LC_NUMERIC", nullptr), lang("LANG", "C.UTF-8");
    cf::Holder<CFLocaleRef> posix(CFLocaleCopyCurrent());
    EXPECT_EQ(utf8(CFLocaleGetIdentifier(posix.get())), "en_US_POSIX");
    EXPECT_EQ(value(posix.get(), kCFLocaleDecimalSeparator), ".");
    {
        ScopedEnv n("LC_NUMERIC", "de_DE.UTF-8");
        cf::Holder<CFLocaleRef> german(CFLocaleCopyCurrent());
        EXPECT_EQ(utf8(CFLocaleGetIdentifier(german.get())), "de_DE");
        EXPECT_EQ(value(german.get(), kCFLocaleDecimalSeparator), ",");
        ScopedEnv a("LC_ALL", "ja_JP.UTF-8");
        cf::Holder<CFLocaleRef> japanese(CFLocaleCopyCurrent());
        EXPECT_EQ(utf8(CFLocaleGetIdentifier(japanese.get())), "ja_JP");
    }
    ScopedEnv none("LANG", nullptr);
    cf::Holder<CFLocaleRef> fallback(CFLocaleCopyCurrent());
    EXPECT_EQ(utf8(CFLocaleGetIdentifier(fallback.get())), "en_US_POSIX");
}

} // namespace

namespace {

std::vector<std::string> languages() {
    cf::Holder<CFArrayRef> list(CFLocaleCopyPreferredLanguages());
    std::vector<std::string> out;
    for (CFIndex i = 0; i < CFArrayGetCount(list.get()); ++i)
        out.push_back(utf8(static_cast<CFStringRef>(CFArrayGetValueAtIndex(list.get(), i))));
    return out;
}

TEST(CFLocale, PreferredLanguagesFromTheEnvironment) {
    ScopedEnv language("LANGUAGE", "fr_FR:de"), all("LC_ALL", nullptr),
        messages("LC_MESSAGES", "ja_JP.UTF-8"), lang("LANG", "C.UTF-8");
    EXPECT_EQ(languages(), (std::vector<std::string>{"fr-FR", "de", "ja-JP"}));
    {
        ScopedEnv a("LC_ALL", "de_DE.UTF-8@euro");
        EXPECT_EQ(languages(), (std::vector<std::string>{"fr-FR", "de", "de-DE"}));
    }
    ScopedEnv no_list("LANGUAGE", nullptr), no_messages("LC_MESSAGES", nullptr);
    EXPECT_EQ(languages(), (std::vector<std::string>{"en"})); // "C" names no language
}

} // namespace
