// Every native window at the DPI the run gives (Q7N_DPI, set by the test's registration): each
// control inside its window, each caption, label and column header as wide as its text in its own
// font, OK and Cancel reachable and ending the window with their answer; a WM_DPICHANGED lays a
// window out anew; without the newer DPI functions the windows take the screen's DPI.
#include "app/MainWindowLayout.h"
#include "app/win32/ServiceConfiguratorDialog.h"
#include "dialogs/PortDialogLook.h"
#include "dialogs/PortListEditor.h"
#include "dialogs/win32/PortDialogIds.h"
#include "dialogs/win32/PortsEditWindows.h"
#include "dialogs/win32/Q7NPortDialog.h"
#include "dialogs/win32/Q7NPortsDialog.h"
#include "platform/win32/Win32Text.h"
#include "service/testsupport/FakeServiceControlManager.h"
#include "windowing/ApplicationIdentity.h"
#include "windowing/DpiScale.h"
#include "windowing/win32/ConfirmationBox.h"
#include "windowing/win32/DpiFunctions.h"
#include "windowing/win32/ErrorBox.h"
#include "windowing/win32/GdiHandles.h"
#include "windowing/win32/MessageLoop.h"
#include "windowing/win32/OverwriteBox.h"
#include "windowing/win32/testsupport/WindowScript.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <string>

namespace q7n::win32 {
namespace {

using test::TWindowScript;

// The DPI of this run: what the prefix's LogPixels says.
int RunDpi() {
    const char* Given = std::getenv("Q7N_DPI");
    return Given ? std::atoi(Given) : SystemDpi();
}

// Another DPI for the change test: a step up, or down from the largest.
int OtherDpi(int Dpi) {
    return Dpi >= 192 ? 120 : Dpi + 48;
}

RECT PlaceInClient(HWND Control) {
    RECT Rect = TWindow(Control).WindowRect();
    MapWindowPoints(nullptr, GetParent(Control), reinterpret_cast<POINT*>(&Rect), 2);
    return Rect;
}

// The size of Text in Control's font: its longest line, and all its lines.
SIZE TextSize(HWND Control, const std::wstring& Text) {
    const TWindowDC Context(GetDC(Control), {Control});
    HGDIOBJ Old = SelectObject(Context.Get(), HFONT(SendMessageW(Control, WM_GETFONT, 0, 0)));
    SIZE Size{};
    for (size_t Start = 0; Start <= Text.size();) {
        const size_t End = std::min(Text.find(L'\n', Start), Text.size());
        SIZE Line{};
        GetTextExtentPoint32W(Context.Get(), Text.c_str() + Start, int(End - Start), &Line);
        Size.cx = std::max(Size.cx, Line.cx);
        Size.cy += Line.cy;
        Start = End + 1;
    }
    SelectObject(Context.Get(), Old);
    return Size;
}

std::wstring ClassOf(HWND Window) {
    wchar_t Name[64] = L"";
    GetClassNameW(Window, Name, 64);
    return Name;
}

// The height of the font that Control draws in, in pixels.
int FontHeight(HWND Control) {
    LOGFONTW Font{};
    GetObjectW(HGDIOBJ(SendMessageW(Control, WM_GETFONT, 0, 0)), sizeof Font, &Font);
    return std::abs(int(Font.lfHeight));
}

SIZE ClientSize(HWND Window) {
    const RECT Client = TWindow(Window).ClientRect();
    return {Client.right, Client.bottom};
}

void RecordClientSize(HWND Window, const char* Name) {
    const SIZE Size = ClientSize(Window);
    std::printf("client size at %d dpi: %s %ldx%ld\n", WindowDpi(Window), Name, Size.cx, Size.cy);
    std::fflush(stdout);
}

// Every control of Window inside its client area; every label, caption and column header at
// least as wide as its text (the owner-drawn state label fits its caption itself), for a window
// laid out at Dpi.
void ExpectWhole(HWND Window, const std::string& Name, int Dpi = RunDpi()) {
    SCOPED_TRACE(Name + " at " + std::to_string(Dpi) + " dpi");
    const RECT Client = TWindow(Window).ClientRect();
    for (HWND Control = GetWindow(Window, GW_CHILD); Control;
         Control = GetWindow(Control, GW_HWNDNEXT)) {
        if (!IsWindowVisible(Control))
            continue;
        const std::wstring Class = ClassOf(Control);
        const std::string Text = TWindow(Control).Text();
        SCOPED_TRACE(platform::WideToUtf8(Class) + " \"" + Text + "\"");
        const RECT Place = PlaceInClient(Control);
        EXPECT_GE(Place.left, 0);
        EXPECT_GE(Place.top, 0);
        EXPECT_LE(Place.right, Client.right);
        EXPECT_LE(Place.bottom, Client.bottom);
        const LONG Style = GetWindowLongW(Control, GWL_STYLE);
        const bool Labelled = (Class == L"Static" && (Style & SS_TYPEMASK) != SS_OWNERDRAW &&
                               (Style & SS_TYPEMASK) != SS_ICON) ||
                              Class == L"Button";
        if (Labelled && !Text.empty()) {
            const SIZE Needed = TextSize(Control, platform::Utf8ToWide(Text));
            EXPECT_GE(Place.right - Place.left, Needed.cx);
            EXPECT_GE(Place.bottom - Place.top, Needed.cy);
        }
        if (Class == TOOLBARCLASSNAMEW) { // each button holds its picture and its caption
            const int Buttons = int(SendMessageW(Control, TB_BUTTONCOUNT, 0, 0));
            for (int Index = 0; Index < Buttons; ++Index) {
                TBBUTTON Button{};
                SendMessageW(Control, TB_GETBUTTON, WPARAM(Index), LPARAM(&Button));
                if (Button.fsStyle & BTNS_SEP)
                    continue;
                wchar_t Caption[64] = L"";
                SendMessageW(Control, TB_GETBUTTONTEXTW, WPARAM(Button.idCommand), LPARAM(Caption));
                RECT Box{};
                SendMessageW(Control, TB_GETITEMRECT, WPARAM(Index), LPARAM(&Box));
                std::wstring Shown = Caption; // "&" marks the access key
                std::erase(Shown, L'&');
                const SIZE Needed = TextSize(Control, Shown);
                EXPECT_GE(Box.right - Box.left, Needed.cx) << platform::WideToUtf8(Caption);
                EXPECT_GE(Box.bottom - Box.top, Needed.cy + ScaledByDpi(ToolbarIconSize, Dpi))
                    << platform::WideToUtf8(Caption);
                EXPECT_LE(Box.bottom, Place.bottom - Place.top) << platform::WideToUtf8(Caption);
            }
        }
        if (Class == WC_LISTVIEWW) {
            HWND Header = ListView_GetHeader(Control);
            const int Padding = ScaledByDpi(12, Dpi);
            for (int Column = 0; Column < Header_GetItemCount(Header); ++Column) {
                wchar_t Caption[64] = L"";
                HDITEMW Item{};
                Item.mask = HDI_TEXT;
                Item.pszText = Caption;
                Item.cchTextMax = 64;
                Header_GetItem(Header, Column, &Item);
                RECT Box{};
                Header_GetItemRect(Header, Column, &Box);
                EXPECT_GE(Box.right - Box.left, TextSize(Header, Caption).cx + Padding)
                    << platform::WideToUtf8(Caption);
            }
        }
    }
}

// The control Id can be clicked: visible, enabled and the window at its middle on the screen.
void ExpectReachable(HWND Window, int Id) {
    HWND Button = GetDlgItem(Window, Id);
    ASSERT_TRUE(Button);
    EXPECT_TRUE(IsWindowVisible(Button) && IsWindowEnabled(Button));
    const RECT Box = TWindow(Button).WindowRect();
    const POINT Middle{(Box.left + Box.right) / 2, (Box.top + Box.bottom) / 2};
    EXPECT_EQ(WindowFromPoint(Middle), Button) << "button " << Id << " is covered";
}

void Click(HWND Window, int Id) {
    PostMessageW(GetDlgItem(Window, Id), BM_CLICK, 0, 0);
}

// Sends Window a DPI change to Dpi, with the client area scaled about its top left corner as the
// system suggests it (the frame, which the system draws, stays as it is in a change of our own),
// and checks the new layout: client size and fonts scaled, nothing cut.
void ExpectNewLayoutAt(HWND Window, int Dpi, const std::string& Name) {
    const int Before = WindowDpi(Window);
    const SIZE Client = ClientSize(Window);
    std::set<int> FontsBefore;
    for (HWND Control = GetWindow(Window, GW_CHILD); Control;
         Control = GetWindow(Control, GW_HWNDNEXT))
        FontsBefore.insert(FontHeight(Control));
    const RECT Frame = TWindow(Window).WindowRect();
    const RECT Suggested{Frame.left, Frame.top,
                         Frame.right + MulDiv(Client.cx, Dpi, Before) - Client.cx,
                         Frame.bottom + MulDiv(Client.cy, Dpi, Before) - Client.cy};
    SendMessageW(Window, WM_DPICHANGED, MAKEWPARAM(Dpi, Dpi), LPARAM(&Suggested));
    PumpMessagesFor(50);
    SCOPED_TRACE(Name + " changed from " + std::to_string(Before) + " to " + std::to_string(Dpi) +
                 " dpi");
    const SIZE After = ClientSize(Window);
    // Scaled within the rounding of its parts; a box's text is measured anew, and its letters
    // need not grow in step.
    const int Slack = 4 + MulDiv(Client.cx, Dpi, Before) / 20;
    EXPECT_NEAR(After.cx, MulDiv(Client.cx, Dpi, Before), Slack);
    EXPECT_NEAR(After.cy, MulDiv(Client.cy, Dpi, Before), 4);
    for (HWND Control = GetWindow(Window, GW_CHILD); Control;
         Control = GetWindow(Control, GW_HWNDNEXT))
        if (SendMessageW(Control, WM_GETFONT, 0, 0)) { // not the pictures and lines
            EXPECT_EQ(FontsBefore.count(FontHeight(Control)), 0u)
                << platform::WideToUtf8(ClassOf(Control)) << " kept its font";
        }
    ExpectWhole(Window, Name, Dpi);
}

// Two mappings on one local port: the second row is flagged.
std::unique_ptr<TQ7NPorts> PortsWithAConflict() {
    auto Ports = TXMLClass::Create<TQ7NPorts>(nullptr);
    for (int Row = 0; Row < 2; ++Row) {
        TQ7NPort* Port = Ports->Add();
        Port->SetIP("192.168.1.6");
        Port->SetRemoutePort(8080 + Row);
        Port->SetLocalPort(8080);
        Port->SetCOMPort(1 + Row);
        Port->SetCpRate(9600);
    }
    return Ports;
}

class DpiWin32 : public ::testing::Test {
protected:
    void TearDown() override { SetNewerDpiFunctionsUsed(true); }
};

TEST_F(DpiWin32, MainWindowIsScaledWholeAndFollowsADpiChange) {
    testing::TFakeServiceControlManager Fake;
    TdlgServiceConfigurator Window{app::TMainWindowParts(&Fake)};
    ShowWindow(Window.Handle(), SW_SHOW);
    PumpMessagesFor(100);
    const int Dpi = RunDpi();
    EXPECT_EQ(Window.Dpi(), Dpi);
    RecordClientSize(Window.Handle(), "main-window");
    EXPECT_EQ(ClientSize(Window.Handle()).cx, ScaledByDpi(app::ClientWidth, Dpi));
    EXPECT_EQ(ClientSize(Window.Handle()).cy, ScaledByDpi(app::ClientHeight, Dpi));
    EXPECT_EQ(FontHeight(Window.Control("Label1")), ScaledByDpi(app::HeadingFont.PixelSize, Dpi));
    const RECT Start = PlaceInClient(Window.Control("Button1"));
    EXPECT_EQ(Start.left, ScaledByDpi(206, Dpi));
    ExpectWhole(Window.Handle(), "main window");
    ExpectNewLayoutAt(Window.Handle(), OtherDpi(Dpi), "main window");
    EXPECT_EQ(Window.Dpi(), OtherDpi(Dpi));
}

TEST_F(DpiWin32, WithoutTheNewerFunctionsTheScreensDpiServes) {
    SetNewerDpiFunctionsUsed(false);
    const int Screen = GetDeviceCaps(TWindowDC(GetDC(nullptr)).Get(), LOGPIXELSX);
    EXPECT_EQ(SystemDpi(), Screen);
    testing::TFakeServiceControlManager Fake;
    TdlgServiceConfigurator Window{app::TMainWindowParts(&Fake)};
    EXPECT_EQ(Window.Dpi(), Screen);
    EXPECT_EQ(ClientSize(Window.Handle()).cx, ScaledByDpi(app::ClientWidth, Screen));
    ExpectWhole(Window.Handle(), "main window on the fallback", Screen);
}

TEST_F(DpiWin32, PortListEditorIsWholeShowsTheFindingsLineAndEndsWithOKOrCancel) {
    const auto Ports = PortsWithAConflict();
    TPortListEditor Expected;
    Expected.Load(Ports.get());
    const std::string Findings = Expected.FindingsLine({1});
    ASSERT_FALSE(Findings.empty());
    for (int Button : {IDC_BTNOK, IDC_BTNCANCEL}) {
        auto Copy = PortsWithAConflict();
        TWindowScript Script;
        Script.Then(PortListCaption, [&](HWND Editor) {
            if (Button == IDC_BTNOK)
                RecordClientSize(Editor, "port-list-editor");
            ExpectWhole(Editor, "port list editor");
            HWND Table = GetDlgItem(Editor, IDC_LVPORTS);
            ListView_SetItemState(Table, 1, LVIS_SELECTED, LVIS_SELECTED);
            EXPECT_EQ(TWindow(Editor).Item(IDC_FINDINGS).Text(), Findings);
            ListView_SetItemState(Table, -1, 0, LVIS_SELECTED);
            EXPECT_EQ(TWindow(Editor).Item(IDC_FINDINGS).Text(), "");
            if (Button == IDC_BTNCANCEL)
                ExpectNewLayoutAt(Editor, OtherDpi(RunDpi()), "port list editor");
            ExpectReachable(Editor, IDC_BTNOK);
            ExpectReachable(Editor, IDC_BTNCANCEL);
            Click(Editor, Button);
        });
        Script.Start();
        TdlgQ7NPorts Editor;
        EXPECT_EQ(Editor.Execute(Copy.get(), nullptr), Button == IDC_BTNOK);
        EXPECT_TRUE(Script.Finished());
    }
}

// Maximised, the buttons are drawn at once, not only once the mouse passes over them.
TEST_F(DpiWin32, MaximisedPortListEditorDrawsItsButtons) {
    auto Ports = PortsWithAConflict();
    TWindowScript Script;
    Script.Then(PortListCaption, [](HWND Editor) {
        ShowWindow(Editor, SW_MAXIMIZE);
        PumpMessagesFor(300);
        const RECT Box = TWindow(GetDlgItem(Editor, IDC_BTNOK)).WindowRect();
        const int Width = Box.right - Box.left, Height = Box.bottom - Box.top;
        const TWindowDC Screen(GetDC(nullptr));
        const TMemoryDC Context(CreateCompatibleDC(Screen.Get()));
        const TBitmapHandle Picture(CreateCompatibleBitmap(Screen.Get(), Width, Height));
        HGDIOBJ Old = SelectObject(Context.Get(), Picture.Get());
        BitBlt(Context.Get(), 0, 0, Width, Height, Screen.Get(), Box.left, Box.top, SRCCOPY);
        std::set<COLORREF> Colours;
        for (int Y = 0; Y < Height; Y += 1)
            for (int X = 0; X < Width; X += 1)
                Colours.insert(GetPixel(Context.Get(), X, Y));
        SelectObject(Context.Get(), Old);
        EXPECT_GT(Colours.size(), 2u) << "the OK button is blank";
        Click(Editor, IDC_BTNCANCEL);
    });
    Script.Start();
    TdlgQ7NPorts Editor;
    EXPECT_FALSE(Editor.Execute(Ports.get(), nullptr));
    EXPECT_TRUE(Script.Finished());
}

TEST_F(DpiWin32, PortEditorIsWholeAndEndsWithOKOrCancel) {
    for (int Button : {IDC_BTNOK, IDC_BTNCANCEL}) {
        TWindowScript Script;
        Script.Then(PortEditorCaption, [&](HWND Dialog) {
            if (Button == IDC_BTNOK) {
                RecordClientSize(Dialog, "port-editor");
                EXPECT_EQ(ClientSize(Dialog).cx, ScaledByDpi(PortEditorWidth, RunDpi()));
                EXPECT_EQ(ClientSize(Dialog).cy, ScaledByDpi(PortEditorHeight, RunDpi()));
            }
            ExpectWhole(Dialog, "port editor");
            if (Button == IDC_BTNCANCEL)
                ExpectNewLayoutAt(Dialog, OtherDpi(RunDpi()), "port editor");
            ExpectReachable(Dialog, IDC_BTNOK);
            ExpectReachable(Dialog, IDC_BTNCANCEL);
            Click(Dialog, Button);
        });
        Script.Start();
        TdlgQ7NPort Dialog;
        EXPECT_EQ(Dialog.Execute(nullptr, nullptr), Button == IDC_BTNOK);
        EXPECT_TRUE(Script.Finished());
    }
}

// A box: whole, recorded, laid out anew at another DPI, and answering the button clicked.
void CheckBox(const std::string& Title, const char* Name, int Answer,
              const std::function<int()>& Show) {
    TWindowScript Script;
    Script.Then(Title, [&](HWND Box) {
        RecordClientSize(Box, Name);
        ExpectWhole(Box, Name);
        ExpectNewLayoutAt(Box, OtherDpi(RunDpi()), Name);
        ExpectReachable(Box, Answer);
        Click(Box, Answer);
    });
    Script.Start();
    EXPECT_EQ(Show(), Answer) << Name;
    EXPECT_TRUE(Script.Finished());
}

TEST_F(DpiWin32, BoxesAreWholeAndAnswerTheirButtons) {
    const std::string Title(ApplicationTitle);
    CheckBox(std::string(ConfirmationTitle), "confirmation-box", IDYES, [] {
        return ShowConfirmationBox("Перезапустить сервис?") == TConfirmAnswer::caYes ? IDYES : IDNO;
    });
    CheckBox(std::string(ConfirmationTitle), "confirmation-box-no", IDNO, [] {
        return ShowConfirmationBox("Перезапустить сервис?") == TConfirmAnswer::caYes ? IDYES : IDNO;
    });
    CheckBox(Title, "error-box", IDOK, [] {
        ShowErrorBox("'80a' is not a valid integer value");
        return IDOK;
    });
    CheckBox(Title, "overwrite-box", IDYES, [] {
        return ShowOverwriteBox("The ports file was changed by another program.") ? IDYES : IDNO;
    });
    CheckBox(Title, "warning-box", IDOK, [] {
        TPortsEditWindows().Warn("The ports file was saved, but its backup was kept.");
        return IDOK;
    });
}

} // namespace
} // namespace q7n::win32
