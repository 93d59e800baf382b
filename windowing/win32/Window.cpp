#include "windowing/win32/Window.h"

#include "platform/win32/Win32Text.h"
#include "windowing/win32/GdiHandles.h"

namespace q7n::win32 {

std::string TWindow::Text() const {
    std::wstring Text(static_cast<size_t>(GetWindowTextLengthW(FWindow)) + 1, L'\0');
    Text.resize(static_cast<size_t>(GetWindowTextW(FWindow, Text.data(), int(Text.size()))));
    return platform::WideToUtf8(Text);
}

void TWindow::SetText(std::string_view Text) const {
    SetWindowTextW(FWindow, platform::Utf8ToWide(Text).c_str());
}

SIZE TWindow::TextExtent() const {
    std::wstring Text(static_cast<size_t>(GetWindowTextLengthW(FWindow)) + 1, L'\0');
    Text.resize(static_cast<size_t>(GetWindowTextW(FWindow, Text.data(), int(Text.size()))));
    const TWindowDC Context(GetDC(FWindow), {FWindow});
    HGDIOBJ Old = SelectObject(Context.Get(), HFONT(Send(WM_GETFONT)));
    SIZE Size{};
    GetTextExtentPoint32W(Context.Get(), Text.c_str(), int(Text.size()), &Size);
    SelectObject(Context.Get(), Old);
    return Size;
}

RECT TWindow::ClientRect() const {
    RECT Rect{};
    GetClientRect(FWindow, &Rect);
    return Rect;
}

RECT TWindow::WindowRect() const {
    RECT Rect{};
    GetWindowRect(FWindow, &Rect);
    return Rect;
}

} // namespace q7n::win32
