#pragma once

#include <cstdint>

namespace q7n::app {

// Windows colour values, 0x00BBGGRR; the Qt frontend converts them, Win32 takes them as they are.
using TColor = std::uint32_t;

inline constexpr TColor White = 0x00FFFFFF;
inline constexpr TColor Black = 0x00000000;
inline constexpr TColor Navy = 0x00800000;
inline constexpr TColor Red = 0x000000FF;
inline constexpr TColor Amber = 0x000EB3F1;
inline constexpr TColor Green = 0x003DC240;

} // namespace q7n::app
