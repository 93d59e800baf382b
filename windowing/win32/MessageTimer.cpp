#include "windowing/win32/MessageTimer.h"

#include "windowing/win32/EventHandler.h"

#include <system_error>

namespace q7n::win32 {

namespace {

constexpr UINT_PTR TimerId = 1;
constexpr wchar_t ClassName[] = L"Q7NMessageTimer";

} // namespace

TMessageTimer::TMessageTimer() {
    WNDCLASSW Class{};
    Class.lpfnWndProc = WindowProc;
    Class.hInstance = GetModuleHandleW(nullptr);
    Class.lpszClassName = ClassName;
    RegisterClassW(&Class); // fails harmlessly when the class is there already
    FWindow = CreateWindowExW(0, ClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              Class.hInstance, nullptr);
    if (!FWindow)
        throw std::system_error(int(GetLastError()), std::system_category(), "CreateWindowExW");
    SetWindowLongPtrW(FWindow, GWLP_USERDATA, LONG_PTR(this));
}

TMessageTimer::~TMessageTimer() {
    DestroyWindow(FWindow); // also kills its timer
}

void TMessageTimer::SetInterval(int Milliseconds) {
    FInterval = Milliseconds;
    if (FEnabled)
        SetEnabled(true);
}

void TMessageTimer::SetEnabled(bool Enabled) {
    FEnabled = Enabled;
    if (Enabled)
        SetTimer(FWindow, TimerId, UINT(FInterval), nullptr); // replaces a running one afresh
    else
        KillTimer(FWindow, TimerId); // a WM_TIMER already queued goes with it
}

LRESULT CALLBACK TMessageTimer::WindowProc(HWND Window, UINT Message, WPARAM W, LPARAM L) {
    if (Message == WM_TIMER && W == TimerId) {
        auto* Timer = reinterpret_cast<TMessageTimer*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
        if (Timer && Timer->FEnabled && Timer->FHandler)
            RunEventHandler(nullptr, Timer->FHandler);
        return 0;
    }
    return DefWindowProcW(Window, Message, W, L);
}

} // namespace q7n::win32
