#include "base/IntegerConversion.h"

#include "base/Exceptions.h"

#include <string>

namespace q7n {

namespace {

int HexDigitValue(char C) {
    if (C >= '0' && C <= '9')
        return C - '0';
    if (C >= 'a' && C <= 'f')
        return C - 'a' + 10;
    if (C >= 'A' && C <= 'F')
        return C - 'A' + 10;
    return -1;
}

} // namespace

std::optional<std::int32_t> TryStrToInt(std::string_view Text) {
    if (std::optional<std::int32_t> Value = detail::TryPlainDecimal(Text))
        return Value;

    std::size_t I = 0;
    while (I < Text.size() && Text[I] == ' ')
        ++I;

    bool Negative = false;
    if (I < Text.size() && (Text[I] == '+' || Text[I] == '-')) {
        Negative = Text[I] == '-';
        ++I;
    }

    bool Hex = false;
    if (I < Text.size() && (Text[I] == '$' || Text[I] == 'x' || Text[I] == 'X')) {
        Hex = true;
        ++I;
    } else if (I + 1 < Text.size() && Text[I] == '0' &&
               (Text[I + 1] == 'x' || Text[I + 1] == 'X')) {
        Hex = true;
        I += 2;
    }

    if (I == Text.size())
        return std::nullopt;

    // Accumulate in 64 bits; both limits below fit comfortably.
    std::uint64_t Magnitude = 0;
    const std::uint64_t Limit = Hex ? 0xFFFFFFFFull : (Negative ? 0x80000000ull : 0x7FFFFFFFull);
    for (; I < Text.size(); ++I) {
        int Digit =
            Hex ? HexDigitValue(Text[I]) : (Text[I] >= '0' && Text[I] <= '9' ? Text[I] - '0' : -1);
        if (Digit < 0)
            return std::nullopt;
        Magnitude = Magnitude * (Hex ? 16 : 10) + static_cast<std::uint64_t>(Digit);
        if (Magnitude > Limit)
            return std::nullopt;
    }

    auto Bits = static_cast<std::uint32_t>(Magnitude);
    if (Negative)
        Bits = 0u - Bits;
    return static_cast<std::int32_t>(Bits);
}

void detail::ThrowNotAnInteger(std::string_view Text) {
    throw EConvertError("'" + std::string(Text) + "' is not a valid integer value");
}

} // namespace q7n
