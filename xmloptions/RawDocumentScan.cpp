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

// The bytes that the scan stops at: references, and what may be unwritable (control characters
// but tab, line feed and return; every byte of 0x80 and above). The rest is printable ASCII.
bool IsEventByte(unsigned char C) {
    return C == '&' || C >= 0x80 || (C < 0x20 && C != '\t' && C != '\n' && C != '\r');
}

// Takes the event byte at Raw[At]; false when the scan cannot be sure.
bool Take(std::string_view Raw, std::size_t At) {
    return Raw[At] == '&' && IsHarmlessReference(Raw, At);
}

#if defined(__SSE2__)
// The bytes of the 16 at Bytes that IsEventByte takes, as 0xFF, the others 0.
__m128i EventBytes(const char* Bytes) {
    const __m128i Block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Bytes));
    auto Is = [&](char C) {
        return _mm_cmpeq_epi8(Block, _mm_set1_epi8(C));
    };
    // A signed compare: the bytes of 0x80 and above are below the space too.
    const __m128i Below = _mm_cmplt_epi8(Block, _mm_set1_epi8(0x20));
    const __m128i LineEndOrTab = _mm_or_si128(_mm_or_si128(Is('\n'), Is('\r')), Is('\t'));
    return _mm_or_si128(_mm_andnot_si128(LineEndOrTab, Below), Is('&'));
}

unsigned EventBits(const char* Bytes) {
    return static_cast<unsigned>(_mm_movemask_epi8(EventBytes(Bytes)));
}
#endif

} // namespace

bool SurelyWritable(std::string_view Raw) {
    std::size_t At = 0;
#if defined(__SSE2__)
    // 64 bytes at a time, told apart only when some of them are events: most blocks have none.
    for (; At + 64 <= Raw.size(); At += 64) {
        const char* Block = Raw.data() + At;
        const __m128i Any =
            _mm_or_si128(_mm_or_si128(EventBytes(Block), EventBytes(Block + 16)),
                         _mm_or_si128(EventBytes(Block + 32), EventBytes(Block + 48)));
        if (_mm_movemask_epi8(Any) == 0)
            continue;
        for (std::size_t Part = 0; Part < 64; Part += 16)
            for (unsigned Events = EventBits(Block + Part); Events != 0; Events &= Events - 1)
                if (!Take(Raw, At + Part + static_cast<std::size_t>(std::countr_zero(Events))))
                    return false;
    }
#endif
    for (; At < Raw.size(); ++At)
        if (IsEventByte(static_cast<unsigned char>(Raw[At])) && !Take(Raw, At))
            return false;
    return true;
}

} // namespace q7n
