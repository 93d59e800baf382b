#include "windowing/win32/ScreenPlacement.h"

namespace q7n::win32 {

void CentreOnScreen(HWND Window) {
    MONITORINFO Monitor{};
    Monitor.cbSize = sizeof Monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(Window, MONITOR_DEFAULTTOPRIMARY), &Monitor))
        return;
    RECT Frame{};
    GetWindowRect(Window, &Frame);
    const RECT& Area = Monitor.rcWork;
    const int Left = Area.left + ((Area.right - Area.left) - (Frame.right - Frame.left)) / 2;
    const int Top = Area.top + ((Area.bottom - Area.top) - (Frame.bottom - Frame.top)) / 2;
    SetWindowPos(Window, nullptr, Left, Top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace q7n::win32
