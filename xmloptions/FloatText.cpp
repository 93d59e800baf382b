#include "xmloptions/FloatText.h"

#include <charconv>
#include <cstdio>

namespace q7n {

std::string DecimalSeparatorText() {
    char Buffer[16];
    std::snprintf(Buffer, sizeof Buffer, "%.1f", 0.0);
    return std::string(1, Buffer[1]);
}

std::string ReplaceAll(std::string_view Text, std::string_view Pattern,
                       std::string_view Replacement) {
    if (Pattern.empty() || Pattern == Replacement)
        return std::string(Text);
    std::string Result;
    Result.reserve(Text.size());
    std::size_t I = 0;
    while (I < Text.size()) {
        if (Text.compare(I, Pattern.size(), Pattern) == 0) {
            Result += Replacement;
            I += Pattern.size();
        } else {
            Result += Text[I++];
        }
    }
    return Result;
}

namespace {

bool IsDigit(char C) {
    return C >= '0' && C <= '9';
}

// Checks the grammar [blanks][sign]digits[sep digits][(e|E)[sign]digits][blanks], with at least
// one digit in the mantissa, and gives it back in the form std::from_chars reads: no blanks, no
// leading "+", "." as separator.
bool NormaliseFloatText(std::string_view Text, std::string_view Separator, std::string& Out) {
    std::size_t I = 0, End = Text.size();
    while (I < End && Text[I] == ' ')
        ++I;
    while (End > I && Text[End - 1] == ' ')
        --End;
    Out.clear();
    if (I < End && (Text[I] == '+' || Text[I] == '-')) {
        if (Text[I] == '-')
            Out += '-';
        ++I;
    }
    std::size_t Digits = 0;
    while (I < End && IsDigit(Text[I])) {
        Out += Text[I++];
        ++Digits;
    }
    if (I < End && Text.compare(I, Separator.size(), Separator) == 0) {
        Out += '.';
        I += Separator.size();
        while (I < End && IsDigit(Text[I])) {
            Out += Text[I++];
            ++Digits;
        }
    }
    if (Digits == 0)
        return false;
    if (I < End && (Text[I] == 'e' || Text[I] == 'E')) {
        Out += 'e';
        ++I;
        if (I < End && (Text[I] == '+' || Text[I] == '-'))
            Out += Text[I++];
        std::size_t ExponentDigits = 0;
        while (I < End && IsDigit(Text[I])) {
            Out += Text[I++];
            ++ExponentDigits;
        }
        if (ExponentDigits == 0)
            return false;
    }
    return I == End;
}

} // namespace

double TextToFloat(std::string_view Text) {
    // "." is always accepted: it becomes the locale's separator before parsing.
    std::string Separator = DecimalSeparatorText();
    std::string Localised = ReplaceAll(Text, ".", Separator);
    std::string Normalised;
    if (!NormaliseFloatText(Localised, Separator, Normalised))
        return 0;
    double Value = 0;
    auto [End, Error] =
        std::from_chars(Normalised.data(), Normalised.data() + Normalised.size(), Value);
    if (Error != std::errc() || End != Normalised.data() + Normalised.size())
        return 0;
    return Value;
}

float TextToSingle(std::string_view Text) {
    return static_cast<float>(TextToFloat(Text));
}

std::string FloatToText(double Value, TFloatType Type) {
    char Buffer[64];
    std::to_chars_result Result;
    if (Type == ftSingle)
        Result = std::to_chars(Buffer, Buffer + sizeof Buffer, static_cast<float>(Value));
    else
        Result =
            std::to_chars(Buffer, Buffer + sizeof Buffer, Value, std::chars_format::general, 15);
    return std::string(Buffer, Result.ptr);
}

double NarrowFloat(double Value, TFloatType Type) {
    return Type == ftSingle ? static_cast<double>(static_cast<float>(Value)) : Value;
}

} // namespace q7n
