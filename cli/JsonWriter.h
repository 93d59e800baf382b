#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace q7n::cli {

// Writes one JSON document, compact, into a string: the writer puts the commas and the colons,
// so that a caller only says what comes next. Keys and strings are escaped as AppendJsonString
// escapes them.
//   TJsonWriter Json;
//   Json.BeginObject().Field("file", Path).Key("rows").BeginArray().Number(1).EndArray();
//   Json.EndObject();  // {"file":"...","rows":[1]}
class TJsonWriter {
public:
    TJsonWriter& BeginObject() { return Begin('{'); }
    TJsonWriter& EndObject() { return End('}'); }
    TJsonWriter& BeginArray() { return Begin('['); }
    TJsonWriter& EndArray() { return End(']'); }
    // The name of the next value, inside an object.
    TJsonWriter& Key(std::string_view Name);

    TJsonWriter& String(std::string_view Text);
    TJsonWriter& Number(std::int64_t Value);
    TJsonWriter& Bool(bool Value);
    TJsonWriter& Null();
    // A value that may be missing: null then.
    TJsonWriter& StringOrNull(const std::optional<std::string>& Text);
    TJsonWriter& NumberOrNull(const std::optional<std::int64_t>& Value);

    // Key and value in one.
    template <typename TValue> TJsonWriter& Field(std::string_view Name, const TValue& Value) {
        Key(Name);
        if constexpr (std::is_same_v<TValue, bool>)
            return Bool(Value);
        else if constexpr (std::is_integral_v<TValue>)
            return Number(std::int64_t(Value));
        else
            return String(Value);
    }

    // The document so far; complete once every object and array is ended.
    const std::string& Text() const { return FText; }
    void Reserve(std::size_t Size) { FText.reserve(Size); }

private:
    // Before a value: the comma after the one before it, unless a key was just written.
    void Separate();
    TJsonWriter& Begin(char Bracket);
    TJsonWriter& End(char Bracket);

    std::string FText;
    std::vector<bool> FOpenHasItems; // per open object or array: whether it holds an item yet
    bool FAfterKey = false;
};

} // namespace q7n::cli
