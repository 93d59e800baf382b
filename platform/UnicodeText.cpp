#include "platform/UnicodeText.h"

namespace q7n::platform {

namespace {

// Decodes the sequence at Text[Pos]; advances Pos. Nothing for a malformed sequence.
std::optional<char32_t> DecodeOne(std::string_view Text, std::size_t& Pos) {
    auto Byte = [&](std::size_t I) {
        return static_cast<unsigned char>(Text[I]);
    };
    unsigned char Lead = Byte(Pos);
    if (Lead < 0x80) {
        ++Pos;
        return Lead;
    }
    int Length = 0;
    char32_t Code = 0;
    char32_t Minimum = 0;
    if ((Lead & 0xE0) == 0xC0) {
        Length = 2, Code = Lead & 0x1F, Minimum = 0x80;
    } else if ((Lead & 0xF0) == 0xE0) {
        Length = 3, Code = Lead & 0x0F, Minimum = 0x800;
    } else if ((Lead & 0xF8) == 0xF0) {
        Length = 4, Code = Lead & 0x07, Minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (Pos + static_cast<std::size_t>(Length) > Text.size())
        return std::nullopt;
    for (int I = 1; I < Length; ++I) {
        unsigned char Next = Byte(Pos + static_cast<std::size_t>(I));
        if ((Next & 0xC0) != 0x80)
            return std::nullopt;
        Code = (Code << 6) | (Next & 0x3F);
    }
    if (Code < Minimum || Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF))
        return std::nullopt;
    Pos += static_cast<std::size_t>(Length);
    return Code;
}

void AppendUtf8(std::string& Out, char32_t Code) {
    if (Code < 0x80) {
        Out += static_cast<char>(Code);
    } else if (Code < 0x800) {
        Out += static_cast<char>(0xC0 | (Code >> 6));
        Out += static_cast<char>(0x80 | (Code & 0x3F));
    } else if (Code < 0x10000) {
        Out += static_cast<char>(0xE0 | (Code >> 12));
        Out += static_cast<char>(0x80 | ((Code >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (Code & 0x3F));
    } else {
        Out += static_cast<char>(0xF0 | (Code >> 18));
        Out += static_cast<char>(0x80 | ((Code >> 12) & 0x3F));
        Out += static_cast<char>(0x80 | ((Code >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (Code & 0x3F));
    }
}

bool InRange(char32_t C, char32_t First, char32_t Last) {
    return C >= First && C <= Last;
}

// In blocks of pairs a capital and its small letter are neighbours, the capital first.
char32_t PairWithOddSmall(char32_t C) {
    return (C & 1) != 0 ? C - 1 : C;
}
char32_t PairWithEvenSmall(char32_t C) {
    return (C & 1) == 0 ? C - 1 : C;
}

char32_t UpperCase(char32_t C) {
    if (InRange(C, U'a', U'z'))
        return C - 0x20;
    if (C < 0xE0)
        return C;
    // Latin-1 (but the division sign), and y with diaeresis, whose capital is in Extended-A.
    if (InRange(C, 0xE0, 0xFE) && C != 0xF7)
        return C - 0x20;
    if (C == 0xFF)
        return 0x178;
    // Latin Extended-A. The dotless i is kept: its capital would be the ASCII I.
    if (C == 0x131)
        return C;
    if (InRange(C, 0x100, 0x137) || InRange(C, 0x14A, 0x177))
        return PairWithOddSmall(C);
    if (InRange(C, 0x139, 0x148) || InRange(C, 0x179, 0x17E))
        return PairWithEvenSmall(C);
    // Greek.
    if (InRange(C, 0x3B1, 0x3C1) || InRange(C, 0x3C3, 0x3CB))
        return C - 0x20;
    if (C == 0x3C2) // final sigma
        return 0x3A3;
    if (C == 0x3AC)
        return 0x386;
    if (InRange(C, 0x3AD, 0x3AF))
        return C - 0x25;
    if (C == 0x3CC)
        return 0x38C;
    if (InRange(C, 0x3CD, 0x3CE))
        return C - 0x3F;
    // Cyrillic.
    if (InRange(C, 0x430, 0x44F))
        return C - 0x20;
    if (InRange(C, 0x450, 0x45F))
        return C - 0x50;
    if (InRange(C, 0x460, 0x481) || InRange(C, 0x48A, 0x4BF) || InRange(C, 0x4D0, 0x52F))
        return PairWithOddSmall(C);
    if (InRange(C, 0x4C1, 0x4CE))
        return PairWithEvenSmall(C);
    if (C == 0x4CF)
        return 0x4C0;
    return C;
}

} // namespace

std::optional<std::u32string> DecodeUtf8(std::string_view Text) {
    std::u32string Codes;
    Codes.reserve(Text.size());
    for (std::size_t Pos = 0; Pos < Text.size();) {
        std::optional<char32_t> Code = DecodeOne(Text, Pos);
        if (!Code)
            return std::nullopt;
        Codes += *Code;
    }
    return Codes;
}

bool IsValidUtf8(std::string_view Text) {
    return DecodeUtf8(Text).has_value();
}

std::optional<std::u16string> Utf8ToUtf16(std::string_view Text) {
    std::optional<std::u32string> Codes = DecodeUtf8(Text);
    if (!Codes)
        return std::nullopt;
    std::u16string Units;
    Units.reserve(Codes->size());
    for (char32_t Code : *Codes) {
        if (Code < 0x10000) {
            Units += static_cast<char16_t>(Code);
        } else {
            Code -= 0x10000;
            Units += static_cast<char16_t>(0xD800 + (Code >> 10));
            Units += static_cast<char16_t>(0xDC00 + (Code & 0x3FF));
        }
    }
    return Units;
}

std::string UpperCaseText(std::string_view Text) {
    std::string Upper;
    Upper.reserve(Text.size());
    for (std::size_t Pos = 0; Pos < Text.size();) {
        std::size_t Start = Pos;
        if (std::optional<char32_t> Code = DecodeOne(Text, Pos)) {
            AppendUtf8(Upper, UpperCase(*Code));
        } else {
            Upper += Text[Start];
            Pos = Start + 1;
        }
    }
    return Upper;
}

std::filesystem::path Utf8Path(std::string_view Text) {
    return std::filesystem::path(std::u8string(Text.begin(), Text.end()));
}

} // namespace q7n::platform
