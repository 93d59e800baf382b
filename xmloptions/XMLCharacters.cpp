#include "xmloptions/XMLCharacters.h"

#include <cstdint>
#include <cstdio>

namespace q7n {

namespace {

// The length of the well-formed UTF-8 sequence at Text[At] whose character XML allows, or 0.
std::size_t WritableLength(std::string_view Text, std::size_t At) {
    auto Byte = [&](std::size_t I) {
        return static_cast<unsigned char>(Text[I]);
    };
    unsigned char Lead = Byte(At);
    if (Lead < 0x80)
        return Lead >= 0x20 || Lead == '\t' || Lead == '\n' || Lead == '\r' ? 1 : 0;
    std::size_t Length;
    std::uint32_t Code;
    if (Lead >= 0xC2 && Lead <= 0xDF) {
        Length = 2;
        Code = Lead & 0x1F;
    } else if (Lead >= 0xE0 && Lead <= 0xEF) {
        Length = 3;
        Code = Lead & 0x0F;
    } else if (Lead >= 0xF0 && Lead <= 0xF4) {
        Length = 4;
        Code = Lead & 0x07;
    } else {
        return 0;
    }
    if (At + Length > Text.size())
        return 0;
    for (std::size_t I = 1; I < Length; ++I) {
        if ((Byte(At + I) & 0xC0) != 0x80)
            return 0;
        Code = (Code << 6) | (Byte(At + I) & 0x3F);
    }
    static constexpr std::uint32_t Least[] = {0, 0, 0x80, 0x800, 0x10000};
    bool Allowed = Code >= Least[Length] && Code <= 0x10FFFF &&
                   !(Code >= 0xD800 && Code <= 0xDFFF) && Code != 0xFFFE && Code != 0xFFFF;
    return Allowed ? Length : 0;
}

} // namespace

std::size_t FindUnwritableCharacter(std::string_view Text) {
    for (std::size_t At = 0; At < Text.size();) {
        // Printable ASCII, the bulk of any text, without the full decoding.
        if (static_cast<unsigned char>(Text[At] - 0x20) < 0x5F) {
            ++At;
            continue;
        }
        std::size_t Length = WritableLength(Text, At);
        if (Length == 0)
            return At;
        At += Length;
    }
    return std::string_view::npos;
}

std::string QuoteForMessage(std::string_view Text) {
    std::string Out;
    for (std::size_t At = 0; At < Text.size();) {
        if (std::size_t Length = WritableLength(Text, At)) {
            Out.append(Text.substr(At, Length));
            At += Length;
        } else {
            char Code[5];
            std::snprintf(Code, sizeof Code, "\\x%02X", static_cast<unsigned char>(Text[At]));
            Out += Code;
            ++At;
        }
    }
    return Out;
}

} // namespace q7n
