#include "cli/JsonReader.h"

#include <gtest/gtest.h>

using namespace q7n::cli;

namespace {

// The error's text, or "" when Text is read.
std::string ErrorOf(std::string_view Text) {
    try {
        ParseJson(Text);
    } catch (const EJsonError& Error) {
        return Error.what();
    }
    return "";
}

} // namespace

TEST(JsonReader, ReadsWhatPortsListPrints) {
    TJsonValue Document = ParseJson(
        " {\"file\":\"a.xml\",\"mappings\":[{\"row\":1,\"ip\":\"10.0.0.1\",\"rate\":-9600},"
        "{}],\"ok\":true,\"none\":null}\n");
    const auto* Mappings = Document.Member("mappings")->AsArray();
    ASSERT_EQ(Mappings->size(), 2u);
    EXPECT_EQ(*(*Mappings)[0].Member("ip")->AsString(), "10.0.0.1");
    EXPECT_EQ(*(*Mappings)[0].Member("rate")->AsInteger(), -9600);
    EXPECT_EQ(*Document.Member("ok")->AsBool(), true);
    EXPECT_TRUE(Document.Member("none")->IsNull());
    EXPECT_EQ(Document.Member("missing"), nullptr);
    EXPECT_EQ(*ParseJson("-9223372036854775808").AsInteger(), INT64_MIN);
}

TEST(JsonReader, DecodesEscapesAndSurrogatePairs) {
    EXPECT_EQ(*ParseJson(R"("a\"\\\/\b\f\n\r\t\u0041\u0439\ud83d\ude00")").AsString(),
              "a\"\\/\b\f\n\r\tA\xD0\xB9\xF0\x9F\x98\x80");
    EXPECT_EQ(*ParseJson("\"\xD0\xB9\"").AsString(), "\xD0\xB9");
}

TEST(JsonReader, RefusesWhatIsNotStrictJsonAndSaysWhere) {
    EXPECT_EQ(ErrorOf("{\n  \"a\": 1,\n}"), "expected a key in quotes at line 3, column 1");
    EXPECT_EQ(ErrorOf("[1] x"), "text after the end of the document at line 1, column 5");
    EXPECT_NE(ErrorOf(R"({"a":1,"a":2})").find("given twice"), std::string::npos);
    for (const char* Bad : {"", "[1,]", "01", "1.5", "2e3", "9223372036854775808", "'a'", "nul",
                            "\"\\ud83d\"", "\"\\ude00\"", "\"\\ud83d\\u0041\"", "\"\\x\"",
                            "\"\\u12g4\"", "\"tab\there\"", "\"\xC0\xAF\"", "\"open", "{\"a\" 1}"})
        EXPECT_NE(ErrorOf(Bad), "") << Bad;
}

TEST(JsonReader, BoundsTheDepth) {
    const std::string Deepest = std::string(MaxJsonDepth, '[') + std::string(MaxJsonDepth, ']');
    EXPECT_EQ(ErrorOf(Deepest), "");
    EXPECT_NE(ErrorOf("[" + Deepest + "]").find("inside each other"), std::string::npos);
    EXPECT_NE(ErrorOf(std::string(100000, '[')), "");
}
