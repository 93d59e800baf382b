#include "cli/JsonText.h"

#include <charconv>

namespace q7n::cli {

std::size_t Utf8Length(std::string_view Text, std::size_t I) {
    auto Byte = [&](std::size_t K) {
        return static_cast<unsigned char>(Text[K]);
    };
    unsigned char Lead = Byte(I);
    std::size_t Length = Lead >= 0xF0 ? 4 : Lead >= 0xE0 ? 3 : Lead >= 0xC0 ? 2 : 0;
    if (Length == 0 || Lead > 0xF4 || Lead < 0xC2 || I + Length > Text.size())
        return 0;
    for (std::size_t K = 1; K < Length; ++K)
        if ((Byte(I + K) & 0xC0) != 0x80)
            return 0;
    unsigned char Second = Byte(I + 1);
    if ((Lead == 0xE0 && Second < 0xA0) || (Lead == 0xED && Second >= 0xA0) ||
        (Lead == 0xF0 && Second < 0x90) || (Lead == 0xF4 && Second >= 0x90))
        return 0;
    return Length;
}

void AppendJsonString(std::string& Out, std::string_view Text) {
    static const char Hex[] = "0123456789abcdef";
    Out += '"';
    for (std::size_t I = 0; I < Text.size();) {
        auto C = static_cast<unsigned char>(Text[I]);
        if (C >= 0x80) {
            std::size_t Length = Utf8Length(Text, I);
            if (Length == 0) {
                Out += "\xEF\xBF\xBD";
                ++I;
            } else {
                Out.append(Text.substr(I, Length));
                I += Length;
            }
            continue;
        }
        switch (C) {
        case '"':
            Out += "\\\"";
            break;
        case '\\':
            Out += "\\\\";
            break;
        case '\n':
            Out += "\\n";
            break;
        case '\r':
            Out += "\\r";
            break;
        case '\t':
            Out += "\\t";
            break;
        default:
            if (C < 0x20 || C == 0x7F) {
                Out += "\\u00";
                Out += Hex[C >> 4];
                Out += Hex[C & 15];
            } else {
                Out += static_cast<char>(C);
            }
        }
        ++I;
    }
    Out += '"';
}

void AppendJsonNumber(std::string& Out, std::int64_t Value) {
    char Digits[24];
    Out.append(Digits, std::to_chars(Digits, Digits + sizeof Digits, Value).ptr);
}

} // namespace q7n::cli
