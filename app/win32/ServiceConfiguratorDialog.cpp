#include "app/win32/ServiceConfiguratorDialog.h"

#include "app/windows/Resources.h"
#include "platform/win32/Win32Text.h"
#include "windowing/DpiScale.h"
#include "windowing/win32/DialogTemplate.h"
#include "windowing/win32/DpiFunctions.h"
#include "windowing/win32/FittedText.h"
#include "windowing/win32/MessageTimer.h"
#include "windowing/win32/ScreenPlacement.h"

#include <system_error>

namespace q7n::win32 {

namespace {

// Controls have the ids FirstControlId + their index in the table.
constexpr int FirstControlId = 1000;

constexpr DWORD WindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD WindowExtendedStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;

int IndexOf(int Id) {
    const int Index = Id - FirstControlId;
    return Index >= 0 && Index < int(app::MainWindowControls.size()) ? Index : -1;
}

COLORREF ToColorRef(app::TColor Color) {
    return COLORREF(Color); // both are 0x00BBGGRR
}

// One half of a rule: From at the left edge to To at the right.
void ShadeHorizontally(HDC Context, const RECT& Rect, app::TColor From, app::TColor To) {
    auto Vertex = [](LONG X, LONG Y, app::TColor Color) {
        return TRIVERTEX{X,
                         Y,
                         COLOR16(GetRValue(Color) << 8),
                         COLOR16(GetGValue(Color) << 8),
                         COLOR16(GetBValue(Color) << 8),
                         0};
    };
    TRIVERTEX Vertices[2] = {Vertex(Rect.left, Rect.top, From),
                             Vertex(Rect.right, Rect.bottom, To)};
    GRADIENT_RECT Span{0, 1};
    GradientFill(Context, Vertices, 2, &Span, 1, GRADIENT_FILL_RECT_H);
}

// Place (at 96 dpi) at Dpi.
TDpiPlace PlaceAt(const app::TControlPlace& Place, int Dpi) {
    return ScaledByDpi(TDpiPlace{Place.Left, Place.Top, Place.Width, Place.Height}, Dpi);
}

// The rule's shading: from the end colour at both ends to the middle colour in the middle.
void PaintRule(HDC Context, const TDpiPlace& Place) {
    const int Middle = Place.Left + Place.Width / 2;
    const RECT Left{Place.Left, Place.Top, Middle, Place.Top + Place.Height};
    const RECT Right{Middle, Place.Top, Place.Left + Place.Width, Place.Top + Place.Height};
    ShadeHorizontally(Context, Left, app::RuleEndColor, app::RuleMiddleColor);
    ShadeHorizontally(Context, Right, app::RuleMiddleColor, app::RuleEndColor);
}

// Draws Icon in Box at its own proportions (Size), as large as the box allows.
void DrawPicture(HDC Context, const RECT& Box, HICON Icon, app::TPictureSize Size) {
    const int BoxWidth = Box.right - Box.left, BoxHeight = Box.bottom - Box.top;
    int DrawWidth = BoxWidth, DrawHeight = Size.Height * BoxWidth / Size.Width;
    if (DrawHeight > BoxHeight) {
        DrawHeight = BoxHeight;
        DrawWidth = Size.Width * BoxHeight / Size.Height;
    }
    DrawIconEx(Context, Box.left, Box.top, Icon, DrawWidth, DrawHeight, 0, nullptr, DI_NORMAL);
}

} // namespace

TdlgServiceConfigurator::TdlgServiceConfigurator(app::TMainWindowParts Parts, HWND Owner) {
    const TDialogTemplate Template(WindowStyle, WindowExtendedStyle);
    if (!CreateIndirect(Template.Get(), Owner))
        throw std::system_error(int(GetLastError()), std::system_category(), "CreateDialog");
    // Outside the dialog procedure, so that an error here fails the creation rather than leaving
    // a window without its configurator.
    FPresenter.FormCreate(std::move(Parts), std::make_unique<TMessageTimer>());
}

TdlgServiceConfigurator::~TdlgServiceConfigurator() {
    Destroy(); // while this object's OnDestroy can still run; the controls before their fonts
}

TWindow TdlgServiceConfigurator::Control(std::string_view Name) const {
    for (size_t Index = 0; Index < app::MainWindowControls.size(); ++Index)
        if (!Name.empty() && app::MainWindowControls[Index].Name == Name)
            return Item(FirstControlId + int(Index));
    return {};
}

HFONT TdlgServiceConfigurator::FontFor(const app::TFontLook& Look) const {
    if (Look.Face == app::HeadingFont.Face && Look.PixelSize == app::HeadingFont.PixelSize)
        return FFonts[1].Get();
    if (Look.Face == app::StateFont.Face && Look.PixelSize == app::StateFont.PixelSize)
        return FFonts[2].Get();
    return FFonts[0].Get();
}

bool TdlgServiceConfigurator::OnInit() {
    SetText(app::MainWindowCaption);
    KeepDialogLayoutOnDpiChange(FWindow);
    FDpi = WindowDpi(FWindow);
    CreateControls();
    Arrange();
    CentreOnScreen(FWindow);
    return true;
}

void TdlgServiceConfigurator::CreateControls() {
    HINSTANCE Instance = GetModuleHandleW(nullptr);
    for (size_t Index = 0; Index < app::MainWindowControls.size(); ++Index) {
        const app::TMainWindowControl& Entry = app::MainWindowControls[Index];
        const wchar_t* Class = L"STATIC";
        DWORD Style = WS_CHILD | WS_VISIBLE;
        switch (Entry.Kind) {
        case app::TControlKind::ckLabel:
            Style |= SS_LEFTNOWORDWRAP | SS_NOPREFIX;
            break;
        case app::TControlKind::ckStateLabel: // drawn by the window, fitted before the button
            Style |= SS_OWNERDRAW | SS_NOPREFIX;
            break;
        case app::TControlKind::ckPicture:
            Style |= SS_OWNERDRAW;
            break;
        case app::TControlKind::ckRule:
            continue; // painted by the window itself
        case app::TControlKind::ckButton:
            Class = L"BUTTON";
            Style |= BS_PUSHBUTTON | WS_TABSTOP;
            break;
        }
        CreateWindowExW(0, Class, platform::Utf8ToWide(Entry.Caption).c_str(), Style, 0, 0, 0, 0,
                        FWindow, HMENU(INT_PTR(FirstControlId + int(Index))), Instance, nullptr);
    }
}

void TdlgServiceConfigurator::Arrange() {
    SetClientSize(FWindow, ScaledByDpi(app::ClientWidth, FDpi),
                  ScaledByDpi(app::ClientHeight, FDpi), FDpi);

    const app::TFontLook Looks[] = {app::DefaultFont, app::HeadingFont, app::StateFont};
    std::array<TFontHandle, 3> Old = std::move(FFonts); // in use until the controls have the new
    for (size_t Index = 0; Index < FFonts.size(); ++Index)
        FFonts[Index].Reset(CreateFontW(
            -ScaledByDpi(Looks[Index].PixelSize, FDpi), 0, 0, 0,
            Looks[Index].Bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
            platform::Utf8ToWide(Looks[Index].Face).c_str()));
    SetFont(FFonts[0].Get());

    // Each picture at the size nearest its place, from the larger images of its icon.
    HINSTANCE Instance = GetModuleHandleW(nullptr);
    auto LoadPicture = [&](int Id, app::TPicture Picture) {
        const app::TPictureSize Size = app::PictureSize(Picture);
        return HICON(LoadImageW(Instance, MAKEINTRESOURCEW(Id), IMAGE_ICON,
                                ScaledByDpi(Size.Width, FDpi), ScaledByDpi(Size.Height, FDpi), 0));
    };
    FGears.Reset(LoadPicture(IDI_GEARS, app::TPicture::pcGears));
    FComputerTools.Reset(LoadPicture(IDI_COMPUTER_TOOLS, app::TPicture::pcComputerTools));

    for (size_t Index = 0; Index < app::MainWindowControls.size(); ++Index) {
        const app::TMainWindowControl& Entry = app::MainWindowControls[Index];
        TWindow Control = Item(FirstControlId + int(Index));
        if (!Control)
            continue; // a rule
        const TDpiPlace Place = PlaceAt(Entry.Place, FDpi);
        MoveWindow(Control, Place.Left, Place.Top, Place.Width, Place.Height, FALSE);
        Control.SetFont(FontFor(Entry.Font));
        if (Entry.Kind == app::TControlKind::ckLabel)
            SizeToText(Control, Control.TextExtent());
    }
    FitStateCaption();
    InvalidateRect(FWindow, nullptr, TRUE);
}

void TdlgServiceConfigurator::FitStateCaption() {
    TWindow Label = Control("ServiceStatusLb");
    const std::wstring Text = platform::Utf8ToWide(Label.Text());
    const TWindowDC Context(GetDC(Label), {Label});
    HGDIOBJ Old = SelectObject(Context.Get(), FontFor(app::StateFont));
    FStateFit = FitText(Context.Get(), Text, ScaledByDpi(app::StateCaptionRoom, FDpi));
    SizeToText(Label, SetFittedText(Context.Get(), Text, FStateFit));
    SelectObject(Context.Get(), Old);
}

bool TdlgServiceConfigurator::OnCommand(int Code, int Id, HWND Control) {
    const int Index = IndexOf(Id);
    if (Index >= 0 && Code == BN_CLICKED) {
        FPresenter.Press(app::MainWindowControls[size_t(Index)].Command);
        if (FPresenter.CloseQuery())
            ShutdownBlockReasonDestroy(FWindow); // set when a session end was refused meanwhile
        return true;
    }
    return TDialog::OnCommand(Code, Id, Control);
}

void TdlgServiceConfigurator::OnClose() {
    if (FPresenter.CloseQuery()) {
        Destroy();
        return;
    }
    // The task bar's "Close window" or another program: the open dialog or box comes forward.
    if (HWND Popup = GetLastActivePopup(FWindow); Popup != FWindow)
        SetForegroundWindow(Popup);
}

void TdlgServiceConfigurator::OnDestroy() {
    FPresenter.FormDestroy();
    PostMessageW(nullptr, WM_NULL, 0, 0); // wakes a message loop that waits for this window to go
}

void TdlgServiceConfigurator::ShowServiceState() {
    TWindow Label = Control("ServiceStatusLb");
    Label.SetText(FPresenter.StateLook().Caption);
    FitStateCaption();
    InvalidateRect(Label, nullptr, TRUE);
}

bool TdlgServiceConfigurator::OnMessage(UINT Message, WPARAM W, LPARAM L, INT_PTR& Result) {
    switch (Message) {
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORBTN:
        Result = INT_PTR(GetStockObject(WHITE_BRUSH));
        return true;
    case WM_CTLCOLORSTATIC:
        Result = INT_PTR(OnLabelColour(HDC(W), HWND(L)));
        return true;
    case WM_QUERYENDSESSION:
        OnQueryEndSession();
        break;
    case WM_ENDSESSION:
        OnSessionEnding(W != 0);
        break;
    case WM_DRAWITEM:
        if (!OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(L)))
            return false;
        break;
    case WM_PAINT:
        Paint();
        break;
    default:
        return false;
    }
    Result = TRUE;
    return true;
}

HBRUSH TdlgServiceConfigurator::OnLabelColour(HDC Context, HWND Label) {
    // Labels draw on the window's white, in their own colour.
    const int Index = IndexOf(GetDlgCtrlID(Label));
    SetTextColor(Context, ToColorRef(Index >= 0 ? app::MainWindowControls[size_t(Index)].Color
                                                : app::Black));
    SetBkMode(Context, TRANSPARENT);
    return HBRUSH(GetStockObject(WHITE_BRUSH));
}

void TdlgServiceConfigurator::OnQueryEndSession() {
    const bool MayEnd = FPresenter.CloseQuery();
    if (!MayEnd)
        ShutdownBlockReasonCreate(FWindow,
                                  platform::Utf8ToWide(app::EditRunningShutdownReason).c_str());
    SetMessageResult(MayEnd);
}

void TdlgServiceConfigurator::OnSessionEnding(bool Ends) {
    if (Ends && FPresenter.OnEndSession)
        FPresenter.OnEndSession();
    SetMessageResult(0);
}

bool TdlgServiceConfigurator::OnDrawItem(const DRAWITEMSTRUCT& Item) {
    const int Index = IndexOf(int(Item.CtlID));
    if (Index < 0)
        return false;
    FillRect(Item.hDC, &Item.rcItem, HBRUSH(GetStockObject(WHITE_BRUSH)));
    const app::TMainWindowControl& Drawn = app::MainWindowControls[size_t(Index)];
    if (Drawn.Kind == app::TControlKind::ckStateLabel) {
        SetTextColor(Item.hDC, ToColorRef(FPresenter.StateColor()));
        SetBkMode(Item.hDC, TRANSPARENT);
        HGDIOBJ Old = SelectObject(Item.hDC, FontFor(Drawn.Font));
        const POINT At{Item.rcItem.left, Item.rcItem.top};
        SetFittedText(Item.hDC, platform::Utf8ToWide(TWindow(Item.hwndItem).Text()), FStateFit,
                      &At);
        SelectObject(Item.hDC, Old);
    } else {
        DrawPicture(Item.hDC, Item.rcItem,
                    Drawn.Picture == app::TPicture::pcGears ? FGears.Get() : FComputerTools.Get(),
                    app::PictureSize(Drawn.Picture));
    }
    return true;
}

void TdlgServiceConfigurator::Paint() {
    PAINTSTRUCT Paint;
    HDC Context = BeginPaint(FWindow, &Paint);
    for (const app::TMainWindowControl& Entry : app::MainWindowControls)
        if (Entry.Kind == app::TControlKind::ckRule)
            PaintRule(Context, PlaceAt(Entry.Place, FDpi));
    EndPaint(FWindow, &Paint);
}

} // namespace q7n::win32
