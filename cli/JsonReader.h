#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace q7n::cli {

// One value of a JSON document as the strict reader gives it: numbers are whole numbers only.
class TJsonValue {
public:
    using TArray = std::vector<TJsonValue>;
    using TObject = std::vector<std::pair<std::string, TJsonValue>>; // in the document's order

    TJsonValue() = default; // null
    explicit TJsonValue(bool Value) : FValue(Value) {}
    explicit TJsonValue(std::int64_t Value) : FValue(Value) {}
    explicit TJsonValue(std::string Value) : FValue(std::move(Value)) {}
    explicit TJsonValue(TArray Value) : FValue(std::move(Value)) {}
    explicit TJsonValue(TObject Value) : FValue(std::move(Value)) {}

    bool IsNull() const { return FValue.index() == 0; }
    const bool* AsBool() const { return std::get_if<bool>(&FValue); }
    const std::int64_t* AsInteger() const { return std::get_if<std::int64_t>(&FValue); }
    const std::string* AsString() const { return std::get_if<std::string>(&FValue); }
    const TArray* AsArray() const { return std::get_if<TArray>(&FValue); }
    const TObject* AsObject() const { return std::get_if<TObject>(&FValue); }
    // The member Name of an object; nullptr when there is none or this is no object.
    const TJsonValue* Member(std::string_view Name) const;
    // "a string", "an object", ... for messages.
    const char* KindText() const;

private:
    std::variant<std::monostate, bool, std::int64_t, std::string, TArray, TObject> FValue;
};

// Why a text is not a JSON document this reader takes, and where: line and column from 1.
class EJsonError : public std::runtime_error {
public:
    EJsonError(const std::string& What, int Line, int Column)
        : std::runtime_error(What + " at line " + std::to_string(Line) + ", column " +
                             std::to_string(Column)),
          FLine(Line), FColumn(Column) {}
    int Line() const { return FLine; }
    int Column() const { return FColumn; }

private:
    int FLine, FColumn;
};

// Reads one JSON document (RFC 8259) strictly: nothing but blanks after it, strings that are
// UTF-8 with escapes (surrogate pairs of \uXXXX joined, a lone one refused), no duplicate keys,
// whole numbers that fit 64 bits, at most MaxJsonDepth arrays and objects inside each other.
// Raises EJsonError.
inline constexpr int MaxJsonDepth = 64;
TJsonValue ParseJson(std::string_view Text);

} // namespace q7n::cli
