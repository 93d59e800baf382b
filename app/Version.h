#pragma once

namespace q7n::gui {

// The program's version information (the Windows version resource carries the same).
inline constexpr const char* FileVersion = "3.0.0.0";
inline constexpr const char* ProductVersion = "1.0.0.0";

} // namespace q7n::gui
