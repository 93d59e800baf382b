#pragma once

// The windows are laid out in pixels at 96 dpi; a window at another DPI scales every figure of
// its layout (places, sizes, fonts given in pixels, pictures) by its own DPI, here.
namespace q7n {

inline constexpr int DefaultDpi = 96;

// Pixels96 at Dpi, rounded to the nearest pixel with halves away from zero, as MulDiv rounds.
constexpr int ScaledByDpi(int Pixels96, int Dpi) {
    const long long Product = static_cast<long long>(Pixels96) * Dpi;
    const long long Half = DefaultDpi / 2;
    return static_cast<int>(Product >= 0 ? (Product + Half) / DefaultDpi
                                         : -((-Product + Half) / DefaultDpi));
}

// A place in a window: its left, top, width and height in pixels.
struct TDpiPlace {
    int Left, Top, Width, Height;
};

// A place given at 96 dpi, at Dpi: the edges are scaled, so that places that meet at 96 dpi
// still meet.
constexpr TDpiPlace ScaledByDpi(const TDpiPlace& Place96, int Dpi) {
    const int Left = ScaledByDpi(Place96.Left, Dpi), Top = ScaledByDpi(Place96.Top, Dpi);
    return {Left, Top, ScaledByDpi(Place96.Left + Place96.Width, Dpi) - Left,
            ScaledByDpi(Place96.Top + Place96.Height, Dpi) - Top};
}

} // namespace q7n
