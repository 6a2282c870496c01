// The picture index's flat storage: names of every kind, the later of two names, and the
// sorted lookup of a large index.
#include "ImageIndex.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

FSSpec spec_of(SInt32 folder, const std::string& spec_name) {
    FSSpec spec{};
    spec.vRefNum = -100;
    spec.parID = folder;
    spec.name[0] = static_cast<unsigned char>(spec_name.size());
    std::memcpy(spec.name + 1, spec_name.data(), spec_name.size());
    return spec;
}

void add(toolkit::ImageIndex& index, const std::u16string& name, const FSSpec& spec) {
    index.add(reinterpret_cast<const UniChar*>(name.data()), name.size(), spec);
}

bool find(const toolkit::ImageIndex& index, const std::u16string& name, FSSpec* spec) {
    CFStringRef key = CFStringCreateWithCharacters(
        nullptr, reinterpret_cast<const UniChar*>(name.data()), static_cast<CFIndex>(name.size()));
    const bool found = index.find(key, spec);
    CFRelease(key);
    return found;
}

std::string spec_name(const FSSpec& spec) {
    return std::string(reinterpret_cast<const char*>(spec.name + 1), spec.name[0]);
}

TEST(ImageIndexStorage, KeepsTheLocationAndTheSpecNameOfEveryKindOfName) {
    toolkit::ImageIndex index;
    const std::u16string long_name(70, u'a'); // its FSSpec name is a shortened one
    add(index, u"Accounting-On.gif", spec_of(7, "Accounting-On.gif"));
    add(index, u"Caf\u00e9.png", spec_of(8, "Caf\x8e.png"));
    add(index, long_name, spec_of(8, "aaaa#1F"));
    index.finish();

    FSSpec spec{};
    ASSERT_TRUE(find(index, u"Accounting-On.gif", &spec));
    EXPECT_EQ(static_cast<SInt16>(spec.vRefNum), -100);
    EXPECT_EQ(static_cast<SInt32>(spec.parID), 7);
    EXPECT_EQ(spec_name(spec), "Accounting-On.gif");
    ASSERT_TRUE(find(index, u"Caf\u00e9.png", &spec));
    EXPECT_EQ(static_cast<SInt32>(spec.parID), 8);
    EXPECT_EQ(spec_name(spec), "Caf\x8e.png");
    ASSERT_TRUE(find(index, long_name, &spec));
    EXPECT_EQ(spec_name(spec), "aaaa#1F");
    // Exact comparison: no other case, no prefix, no other form of the accented name.
    EXPECT_FALSE(find(index, u"accounting-on.gif", &spec));
    EXPECT_FALSE(find(index, u"Accounting-On", &spec));
    EXPECT_FALSE(find(index, u"Cafe\u0301.png", &spec));
    EXPECT_FALSE(find(index, u"", &spec));
}

TEST(ImageIndexStorage, ALargeIndexFindsEveryNameAndTheLaterOfTwo) {
    toolkit::ImageIndex index;
    constexpr int kFiles = 5000; // past the size from which the hashes are sorted by radix
    for (int n = 0; n < kFiles; ++n) {
        const std::string name = "entry-" + std::to_string(n) + ".dat";
        add(index, std::u16string(name.begin(), name.end()), spec_of(n / 100, name));
    }
    add(index, u"entry-42.dat", spec_of(999, "entry-42.dat"));
    FSSpec spec{};
    EXPECT_FALSE(find(index, u"entry-1.dat", &spec)) << "found before finish";
    index.finish();
    EXPECT_EQ(index.size(), static_cast<size_t>(kFiles + 1));
    for (int n = 0; n < kFiles; n += 7) {
        const std::string name = "entry-" + std::to_string(n) + ".dat";
        ASSERT_TRUE(find(index, std::u16string(name.begin(), name.end()), &spec)) << name;
        EXPECT_EQ(spec_name(spec), name);
        EXPECT_EQ(static_cast<SInt32>(spec.parID), n == 42 ? 999 : n / 100);
    }
    EXPECT_FALSE(find(index, u"entry-5000.dat", &spec));
}

} // namespace
