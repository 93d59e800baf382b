#include "app/win32/ApplicationWindow.h"

#include "app/windows/Resources.h"
#include "platform/win32/Win32Text.h"
#include "windowing/ApplicationIdentity.h"

#include <system_error>

namespace q7n::win32 {

namespace {

constexpr wchar_t ClassName[] = L"Q7NApplication";

} // namespace

TApplicationWindow::TApplicationWindow() {
    HINSTANCE Instance = GetModuleHandleW(nullptr);
    WNDCLASSW Class{};
    Class.lpfnWndProc = WindowProc;
    Class.hInstance = Instance;
    Class.hIcon = LoadIconW(Instance, MAKEINTRESOURCEW(IDI_MAINICON));
    Class.lpszClassName = ClassName;
    RegisterClassW(&Class); // fails harmlessly when the class is there already
    const RECT Screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    FWindow = CreateWindowExW(0, ClassName, platform::Utf8ToWide(ApplicationTitle).c_str(),
                              WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE,
                              Screen.right / 2, Screen.bottom / 2, 0, 0, nullptr, nullptr, Instance,
                              nullptr);
    if (!FWindow)
        throw std::system_error(int(GetLastError()), std::system_category(), "CreateWindowExW");
    SetWindowLongPtrW(FWindow, GWLP_USERDATA, LONG_PTR(this));
}

TApplicationWindow::~TApplicationWindow() {
    DestroyWindow(FWindow);
}

LRESULT CALLBACK TApplicationWindow::WindowProc(HWND Window, UINT Message, WPARAM W, LPARAM L) {
    auto* Self = reinterpret_cast<TApplicationWindow*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
    if (Self && Message == WM_ACTIVATE && LOWORD(W) != WA_INACTIVE) {
        // A modal window open over the main window keeps the activation.
        HWND Target = Self->FMainWindow ? GetLastActivePopup(Window) : nullptr;
        if (Target && Target != Window && IsWindowEnabled(Target)) {
            SetActiveWindow(Target);
            return 0;
        }
    }
    if (Self && Message == WM_CLOSE && Self->FMainWindow) {
        PostMessageW(Self->FMainWindow, WM_CLOSE, 0, 0); // "Close window" on the task bar
        return 0;
    }
    return DefWindowProcW(Window, Message, W, L);
}

} // namespace q7n::win32
