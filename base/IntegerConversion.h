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
} // namespace detail

// As TryStrToInt, but raises EConvertError "'<text>' is not a valid integer value". Up to nine
// decimal digits alone, which cannot overflow, are read here without a call: a load reads tens of
// thousands of numbers.
inline std::int32_t StrToInt(std::string_view Text) {
    if (!Text.empty() && Text.size() <= 9) {
        std::int32_t Value = 0;
        std::size_t Digits = 0;
        for (; Digits < Text.size() && Text[Digits] >= '0' && Text[Digits] <= '9'; ++Digits)
            Value = Value * 10 + (Text[Digits] - '0');
        if (Digits == Text.size())
            return Value;
    }
    if (std::optional<std::int32_t> Value = TryStrToInt(Text))
        return *Value;
    detail::ThrowNotAnInteger(Text);
}

} // namespace q7n
