#include "windowing/win32/FittedText.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace q7n::win32 {

SIZE SetFittedText(HDC Context, const std::wstring& Text, const TCaptionFit& Fit, const POINT* At) {
    const int Count = int(Text.size());
    std::vector<int> Ends(Text.size());
    SIZE Natural{};
    GetTextExtentExPointW(Context, Text.c_str(), Count, 0, nullptr, Ends.data(), &Natural);
    std::vector<INT> Advances(Text.size());
    int Previous = 0;
    for (int Index = 0; Index < Count; ++Index) {
        const int End = int(std::lround(Ends[size_t(Index)] + Fit.LetterSpacing * (Index + 1)));
        Advances[size_t(Index)] = End - Previous;
        Previous = End;
    }
    const double Scale = Fit.Stretch / 100.0;
    if (At) {
        const int Mode = SetGraphicsMode(Context, GM_ADVANCED);
        const XFORM Squeeze{FLOAT(Scale), 0, 0, 1, FLOAT(At->x * (1 - Scale)), 0};
        SetWorldTransform(Context, &Squeeze);
        ExtTextOutW(Context, At->x, At->y, 0, nullptr, Text.c_str(), UINT(Count), Advances.data());
        ModifyWorldTransform(Context, nullptr, MWT_IDENTITY);
        SetGraphicsMode(Context, Mode);
    }
    return SIZE{LONG(std::ceil(Previous * Scale)), Natural.cy};
}

TCaptionFit FitText(HDC Context, const std::wstring& Text, int Room) {
    return FitCaption(
        Room, [&](const TCaptionFit& Fit) { return int(SetFittedText(Context, Text, Fit).cx); });
}

void SizeToText(TWindow Label, SIZE Size) {
    const RECT Place = Label.WindowRect();
    SetWindowPos(Label, nullptr, 0, 0, std::max<LONG>(Size.cx, 1),
                 std::max<LONG>(Size.cy, Place.bottom - Place.top),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace q7n::win32
