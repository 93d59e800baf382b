#include "windowing/win32/MessageDialog.h"

#include "platform/win32/Win32Text.h"
#include "windowing/win32/DialogTemplate.h"
#include "windowing/win32/GdiHandles.h"
#include "windowing/win32/ScreenPlacement.h"

#include <algorithm>

namespace q7n::win32 {

namespace {

// Sizes in pixels at 96 dpi, after the system's own message box.
constexpr int Margin = 12;
constexpr int IconSize = 32;
constexpr int Gap = 10;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 23;
constexpr int ButtonGap = 6;
constexpr int MaximumTextWidth = 420;
constexpr int IconId = 100;
constexpr int TextId = 101;

SIZE MeasureText(HWND Window, HFONT Font, const std::wstring& Text, int MaximumWidth, UINT Format) {
    const TWindowDC Context(GetDC(Window), {Window});
    HGDIOBJ Old = SelectObject(Context.Get(), Font);
    RECT Rect{0, 0, MaximumWidth, 0};
    DrawTextW(Context.Get(), Text.c_str(), int(Text.size()), &Rect, Format | DT_CALCRECT);
    SelectObject(Context.Get(), Old);
    return SIZE{Rect.right, Rect.bottom};
}

// The width the title bar needs to show Title whole: the caption text, the close button, the
// frame and some air.
int TitleBarWidth(HWND Window, const std::wstring& Title) {
    NONCLIENTMETRICSW Metrics{};
    Metrics.cbSize = sizeof Metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof Metrics, &Metrics, 0);
    const TFontHandle Caption(CreateFontIndirectW(&Metrics.lfCaptionFont));
    const SIZE Text = MeasureText(Window, Caption.Get(), Title, 10000, DT_SINGLELINE | DT_NOPREFIX);
    return Text.cx + GetSystemMetrics(SM_CXSIZE) + 2 * GetSystemMetrics(SM_CXFIXEDFRAME) + 24;
}

} // namespace

TMessageDialog::TMessageDialog(std::string Title, std::string Text, LPCWSTR Icon,
                               std::vector<TButton> Buttons, int EscapeId, int DefaultId)
    : FTitle(std::move(Title)), FText(std::move(Text)), FIcon(Icon), FButtons(std::move(Buttons)),
      FEscapeId(EscapeId), FDefaultId(DefaultId ? DefaultId : FButtons.front().Id) {}

int TMessageDialog::Show(HWND Parent) {
    const TDialogTemplate Template(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                   WS_EX_DLGMODALFRAME);
    return int(ExecuteIndirect(Template.Get(), Parent));
}

bool TMessageDialog::OnInit() {
    SetText(FTitle);
    HINSTANCE Instance = GetModuleHandleW(nullptr);
    auto Font = HFONT(Send(WM_GETFONT));
    const std::wstring Text = platform::Utf8ToWide(FText);
    const SIZE TextSize = MeasureText(FWindow, Font, Text, MaximumTextWidth,
                                      DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);

    // One width for all buttons: the system's, or what the longest caption needs.
    int ButtonsEach = ButtonWidth;
    for (const TButton& Button : FButtons)
        ButtonsEach = std::max<int>(
            ButtonsEach,
            MeasureText(FWindow, Font, platform::Utf8ToWide(Button.Caption), 10000, DT_SINGLELINE)
                    .cx +
                2 * Gap);
    const int ButtonsWidth =
        int(FButtons.size()) * ButtonsEach + int(FButtons.size() - 1) * ButtonGap;
    const int ContentWidth = IconSize + Gap + int(TextSize.cx);
    int ClientWidth = std::max(ContentWidth, ButtonsWidth) + 2 * Margin;
    RECT Frame{0, 0, ClientWidth, 0};
    AdjustWindowRectEx(&Frame, DWORD(GetWindowLongW(FWindow, GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongW(FWindow, GWL_EXSTYLE)));
    const int FrameWidth = (Frame.right - Frame.left) - ClientWidth;
    ClientWidth =
        std::max(ClientWidth, TitleBarWidth(FWindow, platform::Utf8ToWide(FTitle)) - FrameWidth);

    const int ContentHeight = std::max(IconSize, int(TextSize.cy));
    const int TextTop = Margin + (ContentHeight - int(TextSize.cy)) / 2;
    const int ButtonsTop = Margin + ContentHeight + Margin + 4;
    const int ClientHeight = ButtonsTop + ButtonHeight + Margin;

    HWND IconControl =
        CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON, Margin, Margin,
                        IconSize, IconSize, FWindow, HMENU(IconId), Instance, nullptr);
    SendMessageW(IconControl, STM_SETICON, WPARAM(LoadIconW(nullptr, FIcon)), 0);
    TWindow TextControl =
        CreateWindowExW(0, L"STATIC", Text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                        Margin + IconSize + Gap, TextTop, TextSize.cx, TextSize.cy, FWindow,
                        HMENU(TextId), Instance, nullptr);
    TextControl.SetFont(Font);

    int Left = (ClientWidth - ButtonsWidth) / 2;
    HWND Default = nullptr;
    for (const TButton& Button : FButtons) {
        const bool IsDefault = Button.Id == FDefaultId;
        const DWORD Style = WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                            (IsDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                            (&Button == &FButtons.front() ? WS_GROUP : 0);
        TWindow Control = CreateWindowExW(
            0, L"BUTTON", platform::Utf8ToWide(Button.Caption).c_str(), Style, Left, ButtonsTop,
            ButtonsEach, ButtonHeight, FWindow, HMENU(INT_PTR(Button.Id)), Instance, nullptr);
        Control.SetFont(Font);
        if (IsDefault)
            Default = Control;
        Left += ButtonsEach + ButtonGap;
    }
    Send(DM_SETDEFID, WPARAM(FDefaultId));

    RECT Window{0, 0, ClientWidth, ClientHeight};
    AdjustWindowRectEx(&Window, DWORD(GetWindowLongW(FWindow, GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongW(FWindow, GWL_EXSTYLE)));
    SetWindowPos(FWindow, nullptr, 0, 0, Window.right - Window.left, Window.bottom - Window.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CentreOnScreen(FWindow);
    SetFocus(Default);
    return false; // the focus is set
}

bool TMessageDialog::OnCommand(int /*Code*/, int Id, HWND /*Control*/) {
    if (Id == IDCANCEL) { // Escape or the close button
        End(FEscapeId);
        return true;
    }
    if (std::any_of(FButtons.begin(), FButtons.end(),
                    [Id](const TButton& B) { return B.Id == Id; })) {
        End(Id);
        return true;
    }
    return false;
}

} // namespace q7n::win32
