#include "cli/JsonWriter.h"

#include <gtest/gtest.h>
#include <limits>

using q7n::cli::TJsonWriter;

TEST(JsonWriter, PutsCommasBetweenItemsAtEveryDepth) {
    TJsonWriter Json;
    Json.BeginObject()
        .Key("empty")
        .BeginObject()
        .EndObject()
        .Key("none")
        .BeginArray()
        .EndArray()
        .Key("rows")
        .BeginArray()
        .BeginArray()
        .Number(1)
        .Number(-2)
        .EndArray()
        .BeginObject()
        .Field("a", true)
        .Field("b", false)
        .Key("c")
        .Null()
        .EndObject()
        .BeginArray()
        .EndArray()
        .EndArray()
        .Field("n", std::numeric_limits<std::int64_t>::min())
        .Key("maybe")
        .NumberOrNull(std::nullopt)
        .Key("also")
        .StringOrNull("x")
        .EndObject();
    EXPECT_EQ(Json.Text(),
              R"({"empty":{},"none":[],"rows":[[1,-2],{"a":true,"b":false,"c":null},[]],)"
              R"("n":-9223372036854775808,"maybe":null,"also":"x"})");
}

TEST(JsonWriter, EscapesKeysAsStrings) {
    TJsonWriter Json;
    Json.BeginObject().Field("a\"\\\n", "Работает\t\x01").EndObject();
    EXPECT_EQ(Json.Text(), "{\"a\\\"\\\\\\n\":\"Работает\\t\\u0001\"}");
    // A value on its own is a document too.
    TJsonWriter Alone;
    Alone.String("");
    EXPECT_EQ(Alone.Text(), "\"\"");
}
