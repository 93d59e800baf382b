#include "cli/JsonWriter.h"

#include "cli/JsonText.h"

#include <cassert>

namespace q7n::cli {

void TJsonWriter::Separate() {
    if (FAfterKey) {
        FAfterKey = false;
        return;
    }
    if (FOpenHasItems.empty())
        return;
    if (FOpenHasItems.back())
        FText += ',';
    FOpenHasItems.back() = true;
}

TJsonWriter& TJsonWriter::Begin(char Bracket) {
    Separate();
    FText += Bracket;
    FOpenHasItems.push_back(false);
    return *this;
}

TJsonWriter& TJsonWriter::End(char Bracket) {
    assert(!FOpenHasItems.empty() && !FAfterKey);
    FOpenHasItems.pop_back();
    FText += Bracket;
    return *this;
}

TJsonWriter& TJsonWriter::Key(std::string_view Name) {
    assert(!FAfterKey);
    Separate();
    AppendJsonString(FText, Name);
    FText += ':';
    FAfterKey = true;
    return *this;
}

TJsonWriter& TJsonWriter::String(std::string_view Text) {
    Separate();
    AppendJsonString(FText, Text);
    return *this;
}

TJsonWriter& TJsonWriter::Number(std::int64_t Value) {
    Separate();
    AppendJsonNumber(FText, Value);
    return *this;
}

TJsonWriter& TJsonWriter::Bool(bool Value) {
    Separate();
    FText += Value ? "true" : "false";
    return *this;
}

TJsonWriter& TJsonWriter::Null() {
    Separate();
    FText += "null";
    return *this;
}

TJsonWriter& TJsonWriter::StringOrNull(const std::optional<std::string>& Text) {
    return Text ? String(*Text) : Null();
}

TJsonWriter& TJsonWriter::NumberOrNull(const std::optional<std::int64_t>& Value) {
    return Value ? Number(*Value) : Null();
}

} // namespace q7n::cli
