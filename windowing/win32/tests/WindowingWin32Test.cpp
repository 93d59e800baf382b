#include "platform/win32/Win32Text.h"
#include "windowing/ApplicationIdentity.h"
#include "windowing/win32/ConfirmationBox.h"
#include "windowing/win32/Dialog.h"
#include "windowing/win32/DialogTemplate.h"
#include "windowing/win32/ErrorBox.h"
#include "windowing/win32/GdiHandles.h"
#include "windowing/win32/MessageLoop.h"
#include "windowing/win32/MessageTimer.h"
#include "windowing/win32/ModalWait.h"
#include "windowing/win32/testsupport/WindowScript.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

namespace q7n::win32 {
namespace {

using test::PressKey;
using test::TWindowScript;

// The texts of a box's controls in their order: the text, then the buttons' captions.
std::vector<std::string> BoxTexts(HWND Box) {
    std::vector<std::string> Texts;
    for (HWND Child = GetWindow(Box, GW_CHILD); Child; Child = GetWindow(Child, GW_HWNDNEXT))
        if (!TWindow(Child).Text().empty())
            Texts.push_back(TWindow(Child).Text());
    return Texts;
}

// The width of Title in the title bar's font, as the system draws it there.
int CaptionTextWidth(const std::string& Title) {
    NONCLIENTMETRICSW Metrics{};
    Metrics.cbSize = sizeof Metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof Metrics, &Metrics, 0);
    const TFontHandle Font(CreateFontIndirectW(&Metrics.lfCaptionFont));
    const TWindowDC Context(GetDC(nullptr));
    HGDIOBJ Old = SelectObject(Context.Get(), Font.Get());
    const std::wstring Text = platform::Utf8ToWide(Title);
    SIZE Size{};
    GetTextExtentPoint32W(Context.Get(), Text.c_str(), int(Text.size()), &Size);
    SelectObject(Context.Get(), Old);
    return int(Size.cx);
}

bool CentredOnScreen(HWND Window) {
    MONITORINFO Monitor{};
    Monitor.cbSize = sizeof Monitor;
    GetMonitorInfoW(MonitorFromWindow(Window, MONITOR_DEFAULTTOPRIMARY), &Monitor);
    const RECT Frame = TWindow(Window).WindowRect();
    const RECT& Area = Monitor.rcWork;
    return std::abs((Frame.left + Frame.right) - (Area.left + Area.right)) <= 2 &&
           std::abs((Frame.top + Frame.bottom) - (Area.top + Area.bottom)) <= 2;
}

TEST(ErrorBox, ShowsTheTextWithTheFullStopRuleUnderTheApplicationTitle) {
    const std::string Title(ApplicationTitle);
    std::vector<std::vector<std::string>> Seen;
    int Width = 0;
    auto Look = [&](HWND Box) {
        Seen.push_back(BoxTexts(Box));
        Width = TWindow(Box).WindowRect().right - TWindow(Box).WindowRect().left;
        EXPECT_TRUE(CentredOnScreen(Box));
        PressKey(Box, VK_RETURN);
    };
    TWindowScript Script;
    Script.Then(Title, Look).Then(Title, Look).Start();
    ShowErrorBox("'80a' is not a valid integer value");
    ShowErrorBox("List index out of bounds (3)");
    EXPECT_TRUE(Script.Finished());
    ASSERT_EQ(Seen.size(), 2u);
    EXPECT_EQ(Seen[0], (std::vector<std::string>{"'80a' is not a valid integer value.", "OK"}));
    EXPECT_EQ(Seen[1], (std::vector<std::string>{"List index out of bounds (3)", "OK"}));
    // A short text still leaves the whole title readable.
    Script.Then(Title, Look).Start();
    ShowErrorBox("x");
    EXPECT_GE(Width, CaptionTextWidth(Title) + GetSystemMetrics(SM_CXSIZE));
}

TEST(ConfirmationBox, EnterAnswersYesEscapeAndTheCloseButtonAnswerNo) {
    std::vector<std::string> Seen;
    TWindowScript Script;
    Script
        .Then("Confirm",
              [&](HWND Box) {
                  Seen = BoxTexts(Box);
                  EXPECT_TRUE(CentredOnScreen(Box));
                  PressKey(Box, VK_RETURN);
              })
        .Then("Confirm", [](HWND Box) { PressKey(Box, VK_ESCAPE); })
        .Then("Confirm", [](HWND Box) { PostMessageW(Box, WM_CLOSE, 0, 0); })
        .Then("Confirm",
              [](HWND Box) { // Tab moves to "&No", and Enter then presses it
                  PressKey(Box, VK_TAB);
                  PressKey(Box, VK_RETURN);
              })
        .Start();
    EXPECT_EQ(ShowConfirmationBox("Перезапустить сервис?"), TConfirmAnswer::caYes);
    EXPECT_EQ(ShowConfirmationBox("Delete items?"), TConfirmAnswer::caNo);
    EXPECT_EQ(ShowConfirmationBox("Delete items?"), TConfirmAnswer::caNo);
    EXPECT_EQ(ShowConfirmationBox("Delete items?"), TConfirmAnswer::caNo);
    EXPECT_TRUE(Script.Finished());
    EXPECT_EQ(Seen, (std::vector<std::string>{"Перезапустить сервис?", "&Yes", "&No"}));
}

// A dialog whose OK button fails as an event handler may.
class TFailingDialog final : public TModalDialog {
protected:
    bool OnInit() override {
        SetText("Failing");
        CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 10, 10, 75,
                        23, FWindow, HMENU(IDOK), GetModuleHandleW(nullptr), nullptr);
        return TModalDialog::OnInit();
    }
    void OnOK() override { throw std::runtime_error("List index out of bounds (7)"); }
};

TEST(ModalDialog, AnErrorInAHandlerShowsInTheErrorBoxAndEscapeDoesNotCloseIt) {
    std::vector<std::string> ErrorTexts;
    bool OpenAfterEscape = false;
    TWindowScript Script;
    Script.Then("Failing", [](HWND Dialog) { PressKey(Dialog, VK_RETURN); })
        .Then(std::string(ApplicationTitle),
              [&](HWND Box) {
                  ErrorTexts = BoxTexts(Box);
                  PressKey(Box, VK_RETURN);
              })
        .Then("Failing", [](HWND Dialog) { PressKey(Dialog, VK_ESCAPE); })
        .Then("Failing",
              [&](HWND Dialog) {
                  OpenAfterEscape = true;
                  PostMessageW(Dialog, WM_CLOSE, 0, 0);
              })
        .Start();
    const TDialogTemplate Template(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0);
    TFailingDialog Dialog;
    EXPECT_EQ(Dialog.ExecuteIndirect(Template.Get(), nullptr), IDCANCEL);
    EXPECT_TRUE(Script.Finished());
    EXPECT_EQ(ErrorTexts, (std::vector<std::string>{"List index out of bounds (7)", "OK"}));
    EXPECT_TRUE(OpenAfterEscape);
}

// Each owner frees its kind of object the way that kind must be freed: a GDI object deleted
// with DeleteObject where DestroyIcon or DeleteDC was due would live on.
TEST(GdiHandles, EachOwnerFreesItsObject) {
    HDC Screen = GetDC(nullptr);
    HFONT Font =
        CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, nullptr);
    HBITMAP Bitmap = CreateCompatibleBitmap(Screen, 4, 4);
    HBRUSH Brush = CreateSolidBrush(RGB(1, 2, 3));
    HPEN Pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    HDC Memory = CreateCompatibleDC(Screen);
    HICON Icon = CopyIcon(LoadIconW(nullptr, IDI_APPLICATION));
    const HGDIOBJ Objects[] = {Font, Bitmap, Brush, Pen, Memory};
    {
        TWindowDC Owned(Screen);
        TFontHandle OwnedFont(Font);
        TBitmapHandle OwnedBitmap(Bitmap);
        TBrushHandle OwnedBrush(Brush);
        TPenHandle OwnedPen(Pen);
        TMemoryDC OwnedMemory(Memory);
        TIconHandle OwnedIcon(Icon);
        for (HGDIOBJ Object : Objects)
            ASSERT_NE(GetObjectType(Object), 0u);
    }
    for (HGDIOBJ Object : Objects)
        EXPECT_EQ(GetObjectType(Object), 0u);
    ICONINFO Info{};
    EXPECT_FALSE(GetIconInfo(Icon, &Info));
}

TEST(MessageTimer, TicksInsideABoxFromItsOwnLoopAFullIntervalAfterTheHandlerEnded) {
    TMessageTimer Timer;
    std::vector<ULONGLONG> Starts, Ends;
    size_t TicksInTheBox = 0;
    Timer.SetInterval(100);
    Timer.SetHandler([&] {
        Timer.SetEnabled(false);
        Starts.push_back(GetTickCount64());
        TicksInTheBox += test::FindThreadWindow("Confirm") != nullptr;
        Sleep(40);
        Ends.push_back(GetTickCount64());
        Timer.SetEnabled(true);
    });
    Timer.SetEnabled(true);
    // Nothing but the box's own loop delivers messages while it is open.
    TWindowScript Script;
    Script
        .ThenWhen(
            "Confirm", [&] { return TicksInTheBox >= 4; },
            [](HWND Box) { PressKey(Box, VK_ESCAPE); })
        .Start();
    EXPECT_EQ(ShowConfirmationBox("Delete items?"), TConfirmAnswer::caNo);
    Timer.SetEnabled(false);
    EXPECT_TRUE(Script.Finished());
    EXPECT_GE(TicksInTheBox, 4u);
    for (size_t Tick = 1; Tick < Starts.size(); ++Tick)
        EXPECT_GE(Starts[Tick] - Ends[Tick - 1], 95u) << "tick " << Tick;
}

// A loop that drops every timer message, as a broken modal loop would: the script's own timer
// never ticks in it, and only its watchdog ends the wait, failing the test.
TEST(WindowScript, AStepThatNeverComesFailsAlsoInALoopThatDeliversNoTimers) {
    const HWND Stuck = CreateWindowExW(0, L"STATIC", L"Stuck", WS_POPUP | WS_VISIBLE, 0, 0, 50, 20,
                                       nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    const ULONGLONG Begin = GetTickCount64();
    EXPECT_NONFATAL_FAILURE(
        {
            TWindowScript Script(300);
            Script.Then("Never", [](HWND) {}).Start();
            MSG Msg;
            while (IsWindow(Stuck) && GetMessageW(&Msg, nullptr, 0, 0) > 0)
                if (Msg.message != WM_TIMER)
                    DispatchMessageW(&Msg);
        },
        "no window \"Never\"");
    EXPECT_FALSE(IsWindow(Stuck)); // closed by the watchdog
    EXPECT_LT(GetTickCount64() - Begin, 5000u);
}

// The window a wait is modal over cannot be used meanwhile and is itself again afterwards; the
// thread's messages (its timers) come in every pause, and a quit that comes then is left for the
// thread's own loop.
TEST(ModalWait, DisablesItsWindowDeliversMessagesAndLeavesAQuitForTheLoop) {
    const HWND Window = CreateWindowExW(0, L"STATIC", L"Main", WS_POPUP | WS_VISIBLE, 0, 0, 50, 20,
                                        nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    int Pauses = 0;
    bool DisabledThroughout = true;
    const ULONGLONG Begin = GetTickCount64();
    const bool Answer = WaitModally(Window, [&](const TModalPause& Pause) {
        PostQuitMessage(3);
        for (; Pauses < 3; ++Pauses) {
            DisabledThroughout = DisabledThroughout && !IsWindowEnabled(Window);
            Pause(std::chrono::milliseconds(20));
        }
        return true;
    });
    EXPECT_TRUE(Answer);
    EXPECT_GE(GetTickCount64() - Begin, 55u); // each pause lasted, the quit notwithstanding
    EXPECT_TRUE(DisabledThroughout);
    EXPECT_TRUE(IsWindowEnabled(Window));
    MSG Msg;
    ASSERT_TRUE(PeekMessageW(&Msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(Msg.wParam, 3u);
    DestroyWindow(Window);
}

} // namespace
} // namespace q7n::win32
