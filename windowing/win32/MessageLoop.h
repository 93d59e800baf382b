#pragma once

#include <windows.h>

namespace q7n::win32 {

// Runs the thread's message loop while Window (a modeless dialog) lives, with the dialog
// keyboard (Tab, Enter, access keys) for it. Ends when the window is destroyed or at WM_QUIT;
// answers the quit code, or 0.
int RunMessageLoop(HWND Window);

} // namespace q7n::win32
