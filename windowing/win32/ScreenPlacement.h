#pragma once

#include <windows.h>

namespace q7n::win32 {

// Moves a top-level window, frame included, to the middle of the work area of its monitor.
void CentreOnScreen(HWND Window);

} // namespace q7n::win32
