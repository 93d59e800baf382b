#include "platform/UnicodeText.h"

#include <gtest/gtest.h>

using namespace q7n::platform;

TEST(UnicodeText, MalformedUtf8IsRefused) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("plain \xD0\x9F\xE2\x82\xAC\xF0\x9F\x98\x80"));
    EXPECT_TRUE(IsValidUtf8(std::string("zero\0inside", 11)));
    for (const char* Bad : {"\x80", "\xC3\x28", "\xC0\xAF",             // stray, broken, overlong
                            "\xE0\x80\xAF", "\xED\xA0\x80",             // overlong, surrogate
                            "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80", // beyond U+10FFFF
                            "\xD0", "\xE2\x82"})                        // truncated at the end
        EXPECT_FALSE(IsValidUtf8(Bad)) << Bad;
}

TEST(UnicodeText, Utf16UsesSurrogatePairsAboveTheBasicPlane) {
    EXPECT_EQ(Utf8ToUtf16("A\xD0\x96\xE2\x82\xAC"), std::u16string(u"A\u0416\u20AC"));
    EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98\x80"), std::u16string(u"\xD83D\xDE00"));
    EXPECT_EQ(Utf8ToUtf16(""), std::u16string());
    EXPECT_FALSE(Utf8ToUtf16("\xFF").has_value());
}

TEST(UnicodeText, UpperCaseFoldsTheLettersOfNames) {
    EXPECT_EQ(UpperCaseText("Software\\tavo_1"), "SOFTWARE\\TAVO_1");
    // Cyrillic, the letters outside the main run (ё, ў, ѣ) included.
    EXPECT_EQ(UpperCaseText("ключ ёж ўѣ"), "КЛЮЧ ЁЖ ЎѢ");
    EXPECT_EQ(UpperCaseText("КЛЮЧ"), "КЛЮЧ");
    EXPECT_EQ(UpperCaseText("àéîõüÿ ß ÷"), "ÀÉÎÕÜŸ ß ÷");
    EXPECT_EQ(UpperCaseText("łńśź ı"), "ŁŃŚŹ ı");
    EXPECT_EQ(UpperCaseText("αβγ ς ά ώ"), "ΑΒΓ Σ Ά Ώ");
    // Neither digits, signs nor other scripts change, and bytes that are not UTF-8 stay.
    EXPECT_EQ(UpperCaseText("12-€-中"), "12-€-中");
    EXPECT_EQ(UpperCaseText("a\xFF"
                            "b"),
              "A\xFF"
              "B");
}
