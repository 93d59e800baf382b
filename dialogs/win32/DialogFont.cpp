#include "dialogs/win32/DialogFont.h"

#include "dialogs/PortDialogLook.h"
#include "platform/win32/Win32Text.h"

namespace q7n::win32 {

TFontHandle CreateDialogFont(int Points, int Dpi) {
    LOGFONTW Font{};
    Font.lfHeight = -MulDiv(Points, Dpi, 72);
    Font.lfWeight = FW_NORMAL;
    Font.lfCharSet = DEFAULT_CHARSET;
    Font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN; // a monospace stand-in where it is missing
    const std::wstring Face = platform::Utf8ToWide(DialogFontFace);
    lstrcpynW(Font.lfFaceName, Face.c_str(), LF_FACESIZE);
    return TFontHandle(CreateFontIndirectW(&Font));
}

void SetControlsFont(HWND Dialog, HFONT Font) {
    for (HWND Control = GetWindow(Dialog, GW_CHILD); Control;
         Control = GetWindow(Control, GW_HWNDNEXT))
        SendMessageW(Control, WM_SETFONT, WPARAM(Font), TRUE);
}

} // namespace q7n::win32
