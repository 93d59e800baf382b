#include "cli/JsonText.h"

#include <gtest/gtest.h>

using q7n::cli::AppendJsonString;

namespace {

std::string Json(std::string_view Text) {
    std::string Out;
    AppendJsonString(Out, Text);
    return Out;
}

} // namespace

TEST(JsonText, WritesOnlyValidJsonWhateverTheText) {
    EXPECT_EQ(Json(""), "\"\"");
    EXPECT_EQ(Json("a \"b\" \\c/"), "\"a \\\"b\\\" \\\\c/\"");
    EXPECT_EQ(Json(std::string("\r\n\t\x01\x1b\x7f\0z", 8)),
              "\"\\r\\n\\t\\u0001\\u001b\\u007f\\u0000z\"");
    // UTF-8 passes as it is, up to four bytes.
    EXPECT_EQ(Json("Работает \xE2\x82\xAC \xF0\x9F\x98\x80"),
              "\"Работает \xE2\x82\xAC \xF0\x9F\x98\x80\"");
    // What is not UTF-8 becomes U+FFFD, one per byte that cannot start a character: a byte of
    // code page 1251, a cut sequence, overlong forms, surrogates, values above U+10FFFF.
    const std::string Replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(Json("\xD0"), "\"" + Replacement + "\"");
    EXPECT_EQ(Json("\xCF\xF0\xE8"), "\"" + Replacement + Replacement + Replacement + "\"");
    EXPECT_EQ(Json("\xE2\x82"
                   "x"),
              "\"" + Replacement + Replacement + "x\"");
    EXPECT_EQ(Json("\xC0\xAF"), "\"" + Replacement + Replacement + "\"");
    EXPECT_EQ(Json("\xED\xA0\x80"), "\"" + Replacement + Replacement + Replacement + "\"");
    EXPECT_EQ(Json("\xF4\x90\x80\x80"),
              "\"" + Replacement + Replacement + Replacement + Replacement + "\"");
}
