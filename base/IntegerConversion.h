#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace q7n {

// The standard text-to-integer conversion: leading blanks, an optional sign, then decimal digits
// or a hexadecimal number introduced by "$", "x" or "0x" (either case of x). Anything else,
// trailing blanks included, an empty text and a decimal value outside 32 bits fails. A hexadecimal
// number may use all 32 bits and is taken as their pattern, so "$FFFFFFFF" is -1.
std::optional<std::int32_t> TryStrToInt(std::string_view Text);

namespace detail {

[[noreturn]] void ThrowNotAnInteger(std::string_view Text);

// The common case: up to nine decimal digits alone, which cannot overflow; nothing for any other
// text. Inline, without a call: a load reads tens of thousands of numbers.
inline std::optional<std::int32_t> TryPlainDecimal(std::string_view Text) {
    if (Text.empty() || Text.size() > 9)
        return std::nullopt;
    std::int32_t Value = 0;
    for (char C : Text) {
        if (C < '0' || C > '9')
            return std::nullopt;
        Value = Value * 10 + (C - '0');
    }
    return Value;
}

// TryPlainDecimal over a text that ends at its first NUL, read without measuring it first.
inline std::optional<std::int32_t> TryPlainDecimal(const char* Text) {
    std::uint32_t Value = 0;
    int Digits = 0;
    for (; Digits < 9; ++Digits) {
        // One compare for both ends of the range: a byte below '0' wraps around to a large value.
        const std::uint32_t Digit = static_cast<unsigned char>(Text[Digits]) - std::uint32_t{'0'};
        if (Digit > 9)
            break;
        Value = Value * 10 + Digit;
    }
    if (Digits == 0 || Text[Digits] != '\0')
        return std::nullopt; // nothing, more than nine digits, or something else after the digits
    return static_cast<std::int32_t>(Value);
}

} // namespace detail

// As TryStrToInt, but raises EConvertError "'<text>' is not a valid integer value".
inline std::int32_t StrToInt(std::string_view Text) {
    if (std::optional<std::int32_t> Value = detail::TryPlainDecimal(Text))
        return *Value;
    if (std::optional<std::int32_t> Value = TryStrToInt(Text))
        return *Value;
    detail::ThrowNotAnInteger(Text);
}

// StrToInt of a text that ends at its first NUL, as a parsed document holds its texts.
inline std::int32_t StrToInt(const char* Text) {
    if (std::optional<std::int32_t> Value = detail::TryPlainDecimal(Text))
        return *Value;
    const std::string_view Measured(Text);
    if (std::optional<std::int32_t> Value = TryStrToInt(Measured))
        return *Value;
    detail::ThrowNotAnInteger(Measured);
}

} // namespace q7n
