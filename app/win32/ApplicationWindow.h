#pragma once

#include <windows.h>

namespace q7n::win32 {

// The program's own window on the task bar: invisible (no size), it bears the application title
// and icon and owns the main window, which as a tool window has no task bar button of its own.
// Activating it from the task bar passes the activation on to the window it owns.
class TApplicationWindow {
public:
    TApplicationWindow();
    ~TApplicationWindow();
    TApplicationWindow(const TApplicationWindow&) = delete;
    TApplicationWindow& operator=(const TApplicationWindow&) = delete;

    HWND Handle() const { return FWindow; }
    // The window that activation goes on to.
    void SetMainWindow(HWND Window) { FMainWindow = Window; }

private:
    static LRESULT CALLBACK WindowProc(HWND Window, UINT Message, WPARAM W, LPARAM L);
    HWND FWindow = nullptr;
    HWND FMainWindow = nullptr;
};

} // namespace q7n::win32
