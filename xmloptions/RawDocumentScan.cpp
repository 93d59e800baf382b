#include "xmloptions/RawDocumentScan.h"

#include <bit>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace q7n {

namespace {

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

// Whether the '&' at Raw[At] starts an entity reference, or a numeric character reference that
// names an allowed character; not one that names another character or is not well formed (the
// parser may read that as anything).
bool IsHarmlessReference(std::string_view Raw, std::size_t At) {
    std::size_t I = At + 1;
    if (I == Raw.size() || Raw[I] != '#')
        return true;
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
    return Digits > 0 && Digits <= 8 && I < Raw.size() && Raw[I] == ';' && IsAllowedCode(Code);
}

// The bytes that the scan stops at: starts of markup, references, quotes, and what may be
// unwritable (control characters but line feed and return, every byte of 0x80 and above; tab too,
// which is rare and allowed). The rest is text or names, which cannot change what the scan tells.
// '#', '$' and '%', which stand between the quotes and '&', are taken too and let pass: one range
// compare finds the five.
bool IsEventByte(unsigned char C) {
    return C == '<' || (C >= '"' && C <= '\'') || C >= 0x80 || (C < 0x20 && C != '\n' && C != '\r');
}

#if defined(__SSE2__)
// A bit for each of the 16 bytes at Bytes that IsEventByte takes.
unsigned EventBits(const char* Bytes) {
    const __m128i Block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Bytes));
    auto Is = [&](char C) {
        return _mm_cmpeq_epi8(Block, _mm_set1_epi8(C));
    };
    // Signed compares: the bytes of 0x80 and above are below the space too, and '"' to '\''
    // shifted to the bottom of the signed range are below the sixth value there.
    const __m128i Below = _mm_cmplt_epi8(Block, _mm_set1_epi8(0x20));
    const __m128i Unusual = _mm_andnot_si128(_mm_or_si128(Is('\n'), Is('\r')), Below);
    const __m128i Shifted = _mm_add_epi8(Block, _mm_set1_epi8(static_cast<char>(0x80 - '"')));
    const __m128i QuotesToAmpersand =
        _mm_cmplt_epi8(Shifted, _mm_set1_epi8(static_cast<char>(0x80 + ('\'' - '"' + 1))));
    const __m128i Markup = _mm_or_si128(Is('<'), QuotesToAmpersand);
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(Unusual, Markup)));
}
#endif

// Counts the elements open at each tag after the root's start tag. Quotes stand only in attribute
// values, and with those out of the way every '<' starts a tag. An empty element ("<a/>") counts
// as open until its parent closes, which overstates the depth, never understates it.
class TRawScan {
public:
    TRawScan(std::string_view Raw, int Limit, int Open) : FRaw(Raw), FLimit(Limit), FOpen(Open) {}

    // Takes the event byte at Raw[At]; false when the scan cannot be sure.
    bool Take(std::size_t At) {
        switch (FRaw[At]) {
        case '<': {
            const char Next = At + 1 < FRaw.size() ? FRaw[At + 1] : '\0';
            if (Next == '/') {
                --FOpen;
                return true;
            }
            // Comments, CDATA sections, processing instructions and the end of the bytes; and
            // an element whose text would stand deeper than the limit.
            return Next != '!' && Next != '?' && Next != '\0' && ++FOpen + 1 <= FLimit;
        }
        case '&':
            return IsHarmlessReference(FRaw, At);
        case '\t':
        case '#':
        case '$':
        case '%':
            return true;
        default:
            return false; // a quote, a control character or a byte that is not ASCII
        }
    }

private:
    std::string_view FRaw;
    int FLimit;
    int FOpen;
};

// Where the root element's start tag ends in Raw, after the XML declaration, or npos when the
// bytes do not begin in that plain way. Open is then 1, or 0 when the root is an empty element.
std::size_t PastRootStartTag(std::string_view Raw, int& Open) {
    std::size_t At = 0;
    if (Raw.starts_with("<?xml")) {
        At = Raw.find("?>");
        if (At == std::string_view::npos)
            return At;
        At += 2;
    }
    At = Raw.find_first_not_of(" \t\r\n", At);
    if (At == std::string_view::npos || Raw[At] != '<' || At + 1 == Raw.size() ||
        Raw[At + 1] == '!' || Raw[At + 1] == '?' || Raw[At + 1] == '/')
        return std::string_view::npos;
    char Quote = 0;
    for (++At; At < Raw.size(); ++At) {
        const auto C = static_cast<unsigned char>(Raw[At]);
        if (C >= 0x80 || (C < 0x20 && C != '\t' && C != '\n' && C != '\r') || (!Quote && C == '<'))
            return std::string_view::npos;
        if (C == '&' && !IsHarmlessReference(Raw, At))
            return std::string_view::npos;
        if (Quote) {
            if (C == static_cast<unsigned char>(Quote))
                Quote = 0;
        } else if (C == '"' || C == '\'') {
            Quote = static_cast<char>(C);
        } else if (C == '>') {
            Open = Raw[At - 1] == '/' ? 0 : 1;
            return At + 1;
        }
    }
    return std::string_view::npos;
}

} // namespace

bool SurelyWritableAndShallow(std::string_view Raw, int Limit) {
    int Open = 0;
    std::size_t At = PastRootStartTag(Raw, Open);
    if (At == std::string_view::npos || Limit < 2)
        return false;
    TRawScan Scan(Raw, Limit, Open);
#if defined(__SSE2__)
    for (; At + 32 <= Raw.size(); At += 32) {
        unsigned Events = EventBits(Raw.data() + At) | EventBits(Raw.data() + At + 16) << 16;
        for (; Events != 0; Events &= Events - 1)
            if (!Scan.Take(At + static_cast<std::size_t>(std::countr_zero(Events))))
                return false;
    }
#endif
    for (; At < Raw.size(); ++At)
        if (IsEventByte(static_cast<unsigned char>(Raw[At])) && !Scan.Take(At))
            return false;
    return true;
}

} // namespace q7n
