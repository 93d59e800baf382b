#include "windowing/win32/MessageDialog.h"

#include "platform/win32/Win32Text.h"
#include "windowing/DpiScale.h"
#include "windowing/win32/DialogTemplate.h"
#include "windowing/win32/DpiFunctions.h"
#include "windowing/win32/GdiHandles.h"
#include "windowing/win32/ScreenPlacement.h"

#include <algorithm>

namespace q7n::win32 {

namespace {

// Sizes in pixels at 96 dpi, after the system's own message box.
constexpr int Margin96 = 12;
constexpr int IconSize96 = 32;
constexpr int Gap96 = 10;
constexpr int ButtonWidth96 = 75;
constexpr int ButtonHeight96 = 23;
constexpr int ButtonGap96 = 6;
constexpr int MaximumTextWidth96 = 420;
constexpr int IconId = 100;
constexpr int TextId = 101;

constexpr int FontPoints = 8; // the system's dialog font, "MS Shell Dlg" 8 pt

SIZE MeasureText(HWND Window, HFONT Font, const std::wstring& Text, int MaximumWidth, UINT Format) {
    const TWindowDC Context(GetDC(Window), {Window});
    HGDIOBJ Old = SelectObject(Context.Get(), Font);
    RECT Rect{0, 0, MaximumWidth, 0};
    DrawTextW(Context.Get(), Text.c_str(), int(Text.size()), &Rect, Format | DT_CALCRECT);
    SelectObject(Context.Get(), Old);
    return SIZE{Rect.right, Rect.bottom};
}

// The width the title bar needs to show Title whole at Dpi: the caption text, the close button,
// the frame and some air.
int TitleBarWidth(HWND Window, const std::wstring& Title, int Dpi) {
    const NONCLIENTMETRICSW Metrics = NonClientMetricsForDpi(Dpi);
    const TFontHandle Caption(CreateFontIndirectW(&Metrics.lfCaptionFont));
    const SIZE Text = MeasureText(Window, Caption.Get(), Title, 10000, DT_SINGLELINE | DT_NOPREFIX);
    return Text.cx + SystemMetricForDpi(SM_CXSIZE, Dpi) +
           2 * SystemMetricForDpi(SM_CXFIXEDFRAME, Dpi) + ScaledByDpi(24, Dpi);
}

} // namespace

TMessageDialog::TMessageDialog(std::string Title, std::string Text, LPCWSTR Icon,
                               std::vector<TButton> Buttons, int EscapeId, int DefaultId)
    : FTitle(std::move(Title)), FText(std::move(Text)), FIcon(Icon), FButtons(std::move(Buttons)),
      FEscapeId(EscapeId), FDefaultId(DefaultId ? DefaultId : FButtons.front().Id) {}

TMessageDialog::~TMessageDialog() {
    Destroy(); // the controls go before their font and icon
}

int TMessageDialog::Show(HWND Parent) {
    const TDialogTemplate Template(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                   WS_EX_DLGMODALFRAME);
    return int(ExecuteIndirect(Template.Get(), Parent));
}

bool TMessageDialog::OnInit() {
    SetText(FTitle);
    KeepDialogLayoutOnDpiChange(FWindow);
    HINSTANCE Instance = GetModuleHandleW(nullptr);
    CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON, 0, 0, 0, 0, FWindow,
                    HMENU(IconId), Instance, nullptr);
    CreateWindowExW(0, L"STATIC", platform::Utf8ToWide(FText).c_str(),
                    WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, FWindow,
                    HMENU(TextId), Instance, nullptr);
    HWND Default = nullptr;
    for (const TButton& Button : FButtons) {
        const bool IsDefault = Button.Id == FDefaultId;
        const DWORD Style = WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                            (IsDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                            (&Button == &FButtons.front() ? WS_GROUP : 0);
        HWND Control =
            CreateWindowExW(0, L"BUTTON", platform::Utf8ToWide(Button.Caption).c_str(), Style, 0, 0,
                            0, 0, FWindow, HMENU(INT_PTR(Button.Id)), Instance, nullptr);
        if (IsDefault)
            Default = Control;
    }
    Send(DM_SETDEFID, WPARAM(FDefaultId));
    FDpi = WindowDpi(FWindow);
    Arrange();
    CentreOnScreen(FWindow);
    SetFocus(Default);
    return false; // the focus is set
}

void TMessageDialog::Arrange() {
    TFontHandle OldFont = std::move(FFont); // in use until the controls have the new one
    LOGFONTW Look{};
    Look.lfHeight = -MulDiv(FontPoints, FDpi, 72);
    Look.lfWeight = FW_NORMAL;
    Look.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(Look.lfFaceName, L"MS Shell Dlg", LF_FACESIZE);
    FFont.Reset(CreateFontIndirectW(&Look));
    HFONT Font = FFont.Get();
    SetFont(Font);

    const int Margin = ScaledByDpi(Margin96, FDpi), Gap = ScaledByDpi(Gap96, FDpi);
    const int IconSize = ScaledByDpi(IconSize96, FDpi);
    const int ButtonHeight = ScaledByDpi(ButtonHeight96, FDpi);
    const int ButtonGap = ScaledByDpi(ButtonGap96, FDpi);
    const std::wstring Text = platform::Utf8ToWide(FText);
    const SIZE TextSize = MeasureText(FWindow, Font, Text, ScaledByDpi(MaximumTextWidth96, FDpi),
                                      DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);

    // One width for all buttons: the system's, or what the longest caption needs.
    int ButtonsEach = ScaledByDpi(ButtonWidth96, FDpi);
    for (const TButton& Button : FButtons)
        ButtonsEach = std::max<int>(
            ButtonsEach,
            MeasureText(FWindow, Font, platform::Utf8ToWide(Button.Caption), 10000, DT_SINGLELINE)
                    .cx +
                2 * Gap);
    const int ButtonsWidth =
        int(FButtons.size()) * ButtonsEach + int(FButtons.size() - 1) * ButtonGap;
    const int ContentWidth = IconSize + Gap + int(TextSize.cx);
    const DWORD Style = DWORD(GetWindowLongW(FWindow, GWL_STYLE));
    const DWORD ExtendedStyle = DWORD(GetWindowLongW(FWindow, GWL_EXSTYLE));
    int ClientWidth = std::max(ContentWidth, ButtonsWidth) + 2 * Margin;
    RECT Frame{0, 0, ClientWidth, 0};
    AdjustWindowRectForDpi(Frame, Style, ExtendedStyle, FDpi);
    const int FrameWidth = (Frame.right - Frame.left) - ClientWidth;
    ClientWidth = std::max(ClientWidth,
                           TitleBarWidth(FWindow, platform::Utf8ToWide(FTitle), FDpi) - FrameWidth);

    const int ContentHeight = std::max(IconSize, int(TextSize.cy));
    const int TextTop = Margin + (ContentHeight - int(TextSize.cy)) / 2;
    const int ButtonsTop = Margin + ContentHeight + Margin + ScaledByDpi(4, FDpi);
    const int ClientHeight = ButtonsTop + ButtonHeight + Margin;

    // The system's icon at the size nearest the scaled one.
    FIconImage.Reset(
        HICON(LoadImageW(nullptr, FIcon, IMAGE_ICON, IconSize, IconSize, LR_DEFAULTCOLOR)));
    TWindow IconControl = Item(IconId);
    IconControl.Send(STM_SETICON,
                     WPARAM(FIconImage ? FIconImage.Get() : LoadIconW(nullptr, FIcon)));
    MoveWindow(IconControl, Margin, Margin, IconSize, IconSize, FALSE); // STM_SETICON resizes it
    TWindow TextControl = Item(TextId);
    TextControl.SetFont(Font);
    MoveWindow(TextControl, Margin + IconSize + Gap, TextTop, TextSize.cx, TextSize.cy, FALSE);

    int Left = (ClientWidth - ButtonsWidth) / 2;
    for (const TButton& Button : FButtons) {
        TWindow Control = Item(Button.Id);
        Control.SetFont(Font);
        MoveWindow(Control, Left, ButtonsTop, ButtonsEach, ButtonHeight, FALSE);
        Left += ButtonsEach + ButtonGap;
    }

    SetClientSize(FWindow, ClientWidth, ClientHeight, FDpi);
    InvalidateRect(FWindow, nullptr, TRUE);
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
