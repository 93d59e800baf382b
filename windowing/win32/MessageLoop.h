#pragma once

#include <windows.h>

namespace q7n::win32 {

// Runs the thread's message loop while Window (a modeless dialog) lives, with the dialog
// keyboard (Tab, Enter, access keys) for it. Ends when the window is destroyed or at WM_QUIT;
// answers the quit code, or 0.
int RunMessageLoop(HWND Window);

// Delivers the thread's messages for Milliseconds, as a loop of its own would; a WM_QUIT that
// comes meanwhile is left for the thread's own loop.
void PumpMessagesFor(int Milliseconds);

} // namespace q7n::win32
