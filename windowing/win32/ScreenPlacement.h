#pragma once

#include <windows.h>

namespace q7n::win32 {

// Moves a top-level window, frame included, to the middle of the work area of its monitor.
void CentreOnScreen(HWND Window);

// Gives Window's client area Width x Height pixels, keeping its place: the frame around it as its
// style makes it at Dpi, and as the system draws it where that differs.
void SetClientSize(HWND Window, int Width, int Height, int Dpi);

} // namespace q7n::win32
