#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace q7n::win32 {

// A thin view of a window handle; it owns nothing. Text goes in and out as UTF-8.
class TWindow {
public:
    TWindow(HWND Window = nullptr) : FWindow(Window) {}

    HWND Handle() const { return FWindow; }
    operator HWND() const { return FWindow; }
    TWindow Item(int Id) const { return TWindow(GetDlgItem(FWindow, Id)); }

    std::string Text() const;
    void SetText(std::string_view Text) const;
    void SetFont(HFONT Font) const { SendMessageW(FWindow, WM_SETFONT, WPARAM(Font), TRUE); }
    LRESULT Send(UINT Message, WPARAM W = 0, LPARAM L = 0) const {
        return SendMessageW(FWindow, Message, W, L);
    }
    // The size of the window's text in its font, on one line.
    SIZE TextExtent() const;
    RECT ClientRect() const;
    RECT WindowRect() const;

protected:
    HWND FWindow;
};

} // namespace q7n::win32
