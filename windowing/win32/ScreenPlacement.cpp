#include "windowing/win32/ScreenPlacement.h"

#include "windowing/win32/DpiFunctions.h"

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

void SetClientSize(HWND Window, int Width, int Height, int Dpi) {
    RECT Frame{0, 0, Width, Height};
    AdjustWindowRectForDpi(Frame, DWORD(GetWindowLongPtrW(Window, GWL_STYLE)),
                           DWORD(GetWindowLongPtrW(Window, GWL_EXSTYLE)), Dpi);
    auto Resize = [Window](int FrameWidth, int FrameHeight) {
        SetWindowPos(Window, nullptr, 0, 0, FrameWidth, FrameHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
    Resize(Frame.right - Frame.left, Frame.bottom - Frame.top);
    // A frame still drawn at another DPI (while the window changes DPI) or a wrapped menu bar:
    // what the client area lacks or has too much is made up once.
    RECT Client{}, Outer{};
    GetClientRect(Window, &Client);
    GetWindowRect(Window, &Outer);
    if (Client.right != Width || Client.bottom != Height)
        Resize(Outer.right - Outer.left + Width - Client.right,
               Outer.bottom - Outer.top + Height - Client.bottom);
}

} // namespace q7n::win32
