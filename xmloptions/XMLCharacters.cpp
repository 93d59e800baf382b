#include "xmloptions/XMLCharacters.h"

#include <bit>
#include <cstdint>
#include <cstdio>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

bool IsAllowedCode(std::uint32_t Code) {
    return Code == '\t' || Code == '\n' || Code == '\r' || (Code >= 0x20 && Code <= 0xD7FF) ||
           (Code >= 0xE000 && Code <= 0xFFFD) || (Code >= 0x10000 && Code <= 0x10FFFF);
}

int DigitValue(char C, int Base) {
    if (C >= '0' && C <= '9')
        return C - '0';
    if (Base == 16 && C >= 'a' && C <= 'f')
        return C - 'a' + 10;
    if (Base == 16 && C >= 'A' && C <= 'F')
        return C - 'A' + 10;
    return -1;
}

// Where the scan goes on after the '&' at Raw[At]: past a numeric character reference that names
// an allowed character, or past the '&' of an entity reference; 0 for a numeric reference that
// names another character or is not well formed (the parser may read that as anything).
std::size_t PastReference(std::string_view Raw, std::size_t At) {
    std::size_t I = At + 1;
    if (I == Raw.size() || Raw[I] != '#')
        return I;
    ++I;
    int Base = 10;
    if (I < Raw.size() && Raw[I] == 'x') {
        Base = 16;
        ++I;
    }
    std::uint32_t Code = 0;
    std::size_t Digits = 0;
    for (; I < Raw.size() && Digits <= 8; ++I, ++Digits) {
        int Digit = DigitValue(Raw[I], Base);
        if (Digit < 0)
            break;
        Code = Code * static_cast<std::uint32_t>(Base) + static_cast<std::uint32_t>(Digit);
    }
    if (Digits == 0 || Digits > 8 || I == Raw.size() || Raw[I] != ';' || !IsAllowedCode(Code))
        return 0;
    return I + 1;
}

#if defined(__SSE2__)
// A bit for each of the 16 bytes at Bytes that needs a closer look: '&', and any byte below the
// space (a signed compare: every byte of 0x80 and above too) but tab, line feed and return.
int SuspectBytes(const char* Bytes) {
    const __m128i Block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Bytes));
    const __m128i Below = _mm_cmplt_epi8(Block, _mm_set1_epi8(0x20));
    const __m128i LineEnds = _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi8(Block, _mm_set1_epi8('\t')),
                     _mm_cmpeq_epi8(Block, _mm_set1_epi8('\n'))),
        _mm_cmpeq_epi8(Block, _mm_set1_epi8('\r')));
    const __m128i Suspect = _mm_or_si128(_mm_andnot_si128(LineEnds, Below),
                                         _mm_cmpeq_epi8(Block, _mm_set1_epi8('&')));
    return _mm_movemask_epi8(Suspect);
}
#endif

} // namespace

bool TextsSurelyWritable(std::string_view Raw) {
    std::size_t At = 0;
    while (At < Raw.size()) {
#if defined(__SSE2__)
        if (At + 16 <= Raw.size()) {
            const int Suspect = SuspectBytes(Raw.data() + At);
            if (Suspect == 0) {
                At += 16;
                continue;
            }
            At += static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(Suspect)));
        }
#endif
        const auto C = static_cast<unsigned char>(Raw[At]);
        if (C == '&') {
            At = PastReference(Raw, At);
            if (At == 0)
                return false;
        } else if (C >= 0x80 || (C < 0x20 && C != '\t' && C != '\n' && C != '\r')) {
            return false;
        } else {
            ++At;
        }
    }
    return true;
}

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
