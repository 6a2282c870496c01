#include "CFStringsFile.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using Entries = std::vector<cf::StringsEntry>;

Entries parse_ok(const std::string& bytes) {
    Entries entries;
    std::string error;
    EXPECT_TRUE(cf::parse_strings_file(bytes, "t.strings", entries, error)) << error;
    return entries;
}

std::string parse_error(const std::string& bytes, Entries* entries = nullptr) {
    Entries local;
    std::string error;
    EXPECT_FALSE(cf::parse_strings_file(bytes, "bad.strings", entries ? *entries : local, error));
    return error;
}

TEST(StringsFile, EntriesCommentsAndBareWords) {
    Entries e = parse_ok("/* synthetic test data */\n"
                         "\"Accounting\" = \"Kostenstellen\";\n"
                         "// a line comment \"not = a key\";\n"
                         "\"Same\";  plain.word-1 = \"v\" ;\n"
                         "\"multi\nline\" = \"x\"; /* trailing */");
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[0], (cf::StringsEntry{u"Accounting", u"Kostenstellen"}));
    EXPECT_EQ(e[1], (cf::StringsEntry{u"Same", u"Same"}));
    EXPECT_EQ(e[2], (cf::StringsEntry{u"plain.word-1", u"v"}));
    EXPECT_EQ(e[3].first, u"multi\nline");
    EXPECT_TRUE(parse_ok("  \n/* only a comment */\n").empty());
}

TEST(StringsFile, Escapes) {
    Entries e = parse_ok(R"("k" = "a\nb\tc\"d\\e\'f\U00e9\U263A\101\q";)");
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].second, u"a\nb\tc\"d\\e'f\u00e9\u263aAq");
}

TEST(StringsFile, Utf16BothByteOrdersAndUtf8Bom) {
    std::u16string text = u"\"Drucken\" = \"\u5370\u5237\";";
    std::string le("\xFF\xFE", 2);
    std::string be("\xFE\xFF", 2);
    for (char16_t c : text) {
        le += static_cast<char>(c & 0xFF);
        le += static_cast<char>(c >> 8);
        be += static_cast<char>(c >> 8);
        be += static_cast<char>(c & 0xFF);
    }
    for (const std::string& bytes : {le, be}) {
        Entries e = parse_ok(bytes);
        ASSERT_EQ(e.size(), 1u);
        EXPECT_EQ(e[0].second, u"\u5370\u5237");
    }
    Entries e = parse_ok("\xEF\xBB\xBF\"k\" = \"\xC3\xBC\";");
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].second, u"\u00fc");
    EXPECT_EQ(parse_error(le + "x"), "bad.strings:1: UTF-16 text with an odd number of bytes");
}

TEST(StringsFile, ErrorsNameFileAndLineAndKeepEarlierEntries) {
    Entries kept;
    EXPECT_EQ(parse_error("\"a\" = \"1\";\n\"b\" = \"2\"\n\"c\" = \"3\";", &kept),
              "bad.strings:3: expected \";\" after a value");
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].first, u"a");
    EXPECT_EQ(parse_error("\n\"a\" \"b\";"), "bad.strings:2: expected \"=\" or \";\" after a key");
    EXPECT_EQ(parse_error("\"a\" = \"open\n\n"), "bad.strings:1: string not closed");
    EXPECT_EQ(parse_error("\n/* open"), "bad.strings:2: comment not closed");
    EXPECT_EQ(parse_error("\"a\" = ;"), "bad.strings:1: unexpected \";\"");
    EXPECT_EQ(parse_error("\"a\" ="), "bad.strings:1: unexpected end of file");
    EXPECT_EQ(parse_error("\"a\" = \"1\";\n\"\xC3\x28\" = \"x\";"),
              "bad.strings:2: not UTF-8 text");
}

class Env {
  public:
    Env(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old, had_ = true;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~Env() { had_ ? setenv(name_, old_.c_str(), 1) : unsetenv(name_); }

  private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

TEST(Languages, PreferredLanguagesFromTheEnvironment) {
    Env language("LANGUAGE", "fr_CA:C:de");
    Env all("LC_ALL", nullptr);
    Env messages("LC_MESSAGES", "");
    Env lang("LANG", "ja_JP.UTF-8@modifier");
    EXPECT_EQ(cf::preferred_languages(), (std::vector<std::string>{"fr_CA", "de", "ja_JP"}));
    Env all2("LC_ALL", "C.UTF-8"); // set, so LANG is not consulted, but names no language
    EXPECT_EQ(cf::preferred_languages(), (std::vector<std::string>{"fr_CA", "de"}));
}

TEST(Languages, ChoosingALocalization) {
    const std::vector<std::string> modern = {"de", "en", "fr", "ja", "pt-BR"};
    EXPECT_EQ(cf::choose_localization(modern, {"de_DE"}, "en"), "de");
    EXPECT_EQ(cf::choose_localization(modern, {"it", "fr_FR"}, "en"), "fr");
    EXPECT_EQ(cf::choose_localization(modern, {"pt_BR"}, "en"), "pt-BR");
    EXPECT_EQ(cf::choose_localization(modern, {"it"}, "ja"), "ja");
    EXPECT_EQ(cf::choose_localization(modern, {}, "English"), "en");
    const std::vector<std::string> legacy = {"English", "German"};
    EXPECT_EQ(cf::choose_localization(legacy, {"de_AT"}, "English"), "German");
    EXPECT_EQ(cf::choose_localization(legacy, {"ko"}, "xx"), "English");
    EXPECT_EQ(cf::choose_localization({"ko", "zh"}, {"it"}, "xx"), "ko");
    EXPECT_EQ(cf::choose_localization({}, {"de"}, "en"), "");
}

} // namespace
