#include "dialogs/win32/DialogFont.h"

#include "dialogs/PortDialogLook.h"
#include "platform/win32/Win32Text.h"

namespace q7n::win32 {

TFontHandle CreateDialogFont(int Points) {
    const int Height =
        -MulDiv(Points, GetDeviceCaps(TWindowDC(GetDC(nullptr)).Get(), LOGPIXELSY), 72);
    LOGFONTW Font{};
    Font.lfHeight = Height;
    Font.lfWeight = FW_NORMAL;
    Font.lfCharSet = DEFAULT_CHARSET;
    Font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN; // a monospace stand-in where it is missing
    const std::wstring Face = platform::Utf8ToWide(DialogFontFace);
    lstrcpynW(Font.lfFaceName, Face.c_str(), LF_FACESIZE);
    return TFontHandle(CreateFontIndirectW(&Font));
}

void SetClientSize(HWND Dialog, int Width, int Height) {
    RECT Frame{0, 0, Width, Height};
    AdjustWindowRectEx(&Frame, DWORD(GetWindowLongPtrW(Dialog, GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongPtrW(Dialog, GWL_EXSTYLE)));
    SetWindowPos(Dialog, nullptr, 0, 0, Frame.right - Frame.left, Frame.bottom - Frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace q7n::win32
