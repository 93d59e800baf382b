// The Win32 main window: its controls as the shared table gives them, its first state, the state
// label following Wine's real service manager with the fixture service, polls going on while
// a box is open, and neither a close nor a session end cutting a ports edit short.
#include "app/ConfiguratorProgram.h"
#include "app/MainWindowLayout.h"
#include "app/MainWindowPresenter.h"
#include "app/win32/ApplicationWindow.h"
#include "app/win32/ServiceConfiguratorDialog.h"
#include "base/testsupport/TemporaryFolder.h"
#include "dialogs/win32/PortDialogIds.h"
#include "dialogs/win32/PortsEditWindows.h"
#include "platform/testsupport/HostProgramPath.h"
#include "platform/testsupport/TestRegistry.h"
#include "service/ServicePaths.h"
#include "service/ServiceState.h"
#include "service/testsupport/FakeServiceControlManager.h"
#include "windowing/win32/ConfirmationBox.h"
#include "windowing/win32/GdiHandles.h"
#include "windowing/win32/MessageLoop.h"
#include "windowing/win32/MessageTimer.h"
#include "windowing/win32/testsupport/WindowScript.h"

#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace q7n::win32 {
namespace {

// Pumps messages until Condition holds, for at most Milliseconds.
bool PumpUntil(const std::function<bool()>& Condition, int Milliseconds) {
    const ULONGLONG End = GetTickCount64() + ULONGLONG(Milliseconds);
    while (!Condition() && GetTickCount64() < End)
        PumpMessagesFor(20);
    return Condition();
}

RECT PlaceInClient(HWND Control) {
    RECT Rect = TWindow(Control).WindowRect();
    MapWindowPoints(nullptr, GetParent(Control), reinterpret_cast<POINT*>(&Rect), 2);
    return Rect;
}

// The first and last columns in which Window draws anything but white, drawn for once Extra
// pixels wider than it is: ink past its width is text that it cuts off.
std::pair<int, int> InkColumns(HWND Window, int Extra) {
    const RECT Client = TWindow(Window).ClientRect();
    const int Width = Client.right + Extra, Height = Client.bottom;
    SetWindowPos(Window, nullptr, 0, 0, Width, Height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    BITMAPINFO Format{};
    Format.bmiHeader = {sizeof(BITMAPINFOHEADER), Width, -Height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* Bits = nullptr;
    const TBitmapHandle Picture(
        CreateDIBSection(nullptr, &Format, DIB_RGB_COLORS, &Bits, nullptr, 0));
    const TMemoryDC Context(CreateCompatibleDC(nullptr));
    HGDIOBJ Old = SelectObject(Context.Get(), Picture.Get());
    PatBlt(Context.Get(), 0, 0, Width, Height, WHITENESS);
    SendMessageW(Window, WM_PRINTCLIENT, WPARAM(Context.Get()), PRF_CLIENT);
    GdiFlush();
    SelectObject(Context.Get(), Old);
    SetWindowPos(Window, nullptr, 0, 0, Client.right, Height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const auto* Pixels = static_cast<const std::uint32_t*>(Bits);
    int First = -1, Last = -1;
    for (int X = 0; X < Width; ++X)
        for (int Y = 0; Y < Height; ++Y)
            if ((Pixels[Y * Width + X] & 0xFFFFFF) != 0xFFFFFF) {
                First = First < 0 ? X : First;
                Last = X;
            }
    return {First, Last};
}

// Runs the window in a folder of its own, which holds the fixture service as
// Install\Q7NService.exe, as the program expects below its current folder.
class MainWindowWin32 : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(FFolder.Path() / "Install");
        std::filesystem::copy_file(testing::HostProgramPath(Q7N_FIXTURE_SERVICE),
                                   FFolder.Path() / "Install" / "Q7NService.exe");
        FOldFolder = std::filesystem::current_path();
        std::filesystem::current_path(FFolder.Path());
    }
    void TearDown() override {
        FWindow.reset();
        std::filesystem::current_path(FOldFolder);
    }

    void Open(platform::IServiceControlManager* Platform = nullptr) {
        FWindow = std::make_unique<TdlgServiceConfigurator>(app::TMainWindowParts(Platform));
        ShowWindow(FWindow->Handle(), SW_SHOW);
    }
    std::string State() const { return FWindow->Control("ServiceStatusLb").Text(); }
    void Click(std::string_view Button) { PostMessageW(FWindow->Control(Button), BM_CLICK, 0, 0); }
    // Waits for the label to read Caption in its state's colour.
    bool Shows(TServiceState Code, int Milliseconds = 10000) {
        return PumpUntil(
            [&] {
                return State() == ServiceStateCaption(Code) &&
                       FWindow->Presenter().StateColor() == app::ServiceStateColors[Code];
            },
            Milliseconds);
    }

    testing::TTemporaryFolder FFolder;
    std::filesystem::path FOldFolder;
    testing::TFakeServiceControlManager FFake; // for the tests that set the state themselves
    std::unique_ptr<TdlgServiceConfigurator> FWindow;
};

TEST_F(MainWindowWin32, EveryControlUnderItsNameCaptionAndPlaceTheButtonsInTabOrder) {
    Open();
    EXPECT_EQ(FWindow->Text(), app::MainWindowCaption);
    const RECT Client = FWindow->ClientRect();
    EXPECT_EQ(Client.right, app::ClientWidth);
    EXPECT_EQ(Client.bottom, app::ClientHeight);
    const LONG_PTR Style = GetWindowLongPtrW(FWindow->Handle(), GWL_STYLE);
    EXPECT_TRUE(GetWindowLongPtrW(FWindow->Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(Style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));

    std::vector<HWND> Buttons;
    for (const app::TMainWindowControl& Entry : app::MainWindowControls) {
        if (Entry.Name.empty())
            continue; // the rules are painted, not controls
        TWindow Control = FWindow->Control(Entry.Name);
        ASSERT_TRUE(Control.Handle()) << Entry.Name;
        EXPECT_TRUE(IsWindowEnabled(Control)) << Entry.Name;
        const RECT Place = PlaceInClient(Control);
        EXPECT_EQ(Place.left, Entry.Place.Left) << Entry.Name;
        EXPECT_EQ(Place.top, Entry.Place.Top) << Entry.Name;
        if (Entry.Kind == app::TControlKind::ckStateLabel)
            continue; // below
        EXPECT_EQ(Control.Text(), Entry.Caption) << Entry.Name;
        if (Entry.Kind == app::TControlKind::ckLabel) { // its text drawn whole in whatever face
            const auto [First, Last] = InkColumns(Control, 40);
            EXPECT_GE(First, 0) << Entry.Name;
            EXPECT_LT(Last, Place.right - Place.left) << Entry.Name;
        } else {
            EXPECT_EQ(Place.right - Place.left, Entry.Place.Width) << Entry.Name;
        }
        if (Entry.Kind == app::TControlKind::ckButton)
            Buttons.push_back(Control);
    }
    ASSERT_EQ(Buttons.size(), 6u);
    for (size_t Index = 0; Index < Buttons.size(); ++Index)
        EXPECT_EQ(GetNextDlgTabItem(FWindow->Handle(), Buttons[Index], FALSE),
                  Buttons[(Index + 1) % Buttons.size()])
            << "after button " << Index;

    // Until the first poll the state reads "-" in green, drawn whole; then, with the service not
    // installed, "Неизвестно" in red (every caption's drawing is checked below).
    EXPECT_EQ(State(), "-");
    EXPECT_EQ(FWindow->Presenter().StateColor(), app::InitialStateColor);
    const TWindow Label = FWindow->Control("ServiceStatusLb");
    const auto [First, Last] = InkColumns(Label, 40);
    EXPECT_GE(First, 0);
    EXPECT_LT(Last, Label.ClientRect().right);
    EXPECT_TRUE(Shows(0, 3000));
}

TEST_F(MainWindowWin32, TheStateFollowsTheServiceThroughInstallStartStopRestartUninstall) {
    Open();
    EXPECT_TRUE(Shows(0)) << State();
    Click("Button5"); // Install
    EXPECT_TRUE(Shows(1)) << State();
    Click("Button1"); // Старт
    EXPECT_TRUE(Shows(4)) << State();
    Click("Button2"); // Стоп
    EXPECT_TRUE(Shows(1)) << State();
    Click("Button1");
    EXPECT_TRUE(Shows(4)) << State();
    Click("Button3"); // Перезапустить: the stop, more than 2 s, then the start
    EXPECT_TRUE(Shows(1)) << State();
    EXPECT_TRUE(Shows(4)) << State();
    Click("btn1"); // UnInstall: stops and deletes the service
    EXPECT_TRUE(Shows(0)) << State();
}

TEST_F(MainWindowWin32, EveryStateCaptionIsReadInFullLeftOfTheStartButton) {
    Open(&FFake);
    const TWindow Label = FWindow->Control("ServiceStatusLb");
    const RECT Start = PlaceInClient(FWindow->Control("Button1"));
    for (int Code = 0; Code < ServiceStateCount; ++Code) {
        const char* Caption = ServiceStateCaption(TServiceState(Code));
        if (Code == 0)
            FFake.States.erase(std::string(ServiceName));
        else
            FFake.States[std::string(ServiceName)] = std::uint32_t(Code);
        ASSERT_TRUE(Shows(TServiceState(Code), 3000)) << Caption;
        const RECT Place = PlaceInClient(Label);
        EXPECT_LT(Place.right, Start.left) << Caption;
        // Drawn whole inside the label, and as wide as it, not shrunk past what fits.
        const auto [First, Last] = InkColumns(Label, 40);
        EXPECT_GE(First, 0) << Caption;
        EXPECT_LT(Last, Place.right - Place.left) << Caption;
        EXPECT_GE(Last, Place.right - Place.left - 3) << Caption;
        // A caption that fits keeps the face of "Статус:" as it is.
        if (Label.TextExtent().cx <= app::StateCaptionRoom) {
            EXPECT_EQ(FWindow->StateFit(), TCaptionFit{}) << Caption;
        }
    }
}

TEST_F(MainWindowWin32, PollsGoOnWhileABoxIsOpen) {
    Open();
    std::string SeenInsideTheBox;
    test::TWindowScript Script;
    // Nothing but the box's own loop delivers messages while it is open.
    Script
        .ThenWhen(
            std::string(ConfirmationTitle), [&] { return State() != app::InitialStateCaption; },
            [&](HWND Box) {
                SeenInsideTheBox = State();
                test::PressKey(Box, VK_ESCAPE);
            })
        .Start();
    ShowConfirmationBox("Перезапустить сервис?", FWindow->Handle());
    EXPECT_TRUE(Script.Finished());
    EXPECT_EQ(SeenInsideTheBox, ServiceStateCaption(0));
}

TEST_F(MainWindowWin32, WhileThePortsEditRunsItNeitherClosesNorLetsTheSessionEnd) {
    // As the program puts it together: the application window owns the main window, whose edit
    // button runs the real edit flow with its dialogs.
    testing::TTestRegistry Store(ServiceOptionsKeyPath);
    TApplicationWindow Application;
    TPortsEditWindows Dialogs;
    app::TConfiguratorProgram Program(Dialogs, &Store.Backend);
    auto& Main =
        Program.CreateMainWindow<TdlgServiceConfigurator>(&FFake, HWND(Application.Handle()));
    const HWND Window = Main.Handle();
    Application.SetMainWindow(Window);
    Dialogs.SetParent(Window);
    int SessionEnds = 0;
    auto WriteSettings = Main.Presenter().OnEndSession;
    Main.Presenter().OnEndSession = [&] {
        ++SessionEnds;
        WriteSettings();
    };
    ShowWindow(Window, SW_SHOW);
    EXPECT_EQ(SendMessageW(Window, WM_QUERYENDSESSION, 0, 0), TRUE);

    test::TWindowScript Script;
    Script
        .Then("Q7N ports",
              [&](HWND) {
                  // "Close window" on the task bar, passed on to the main window as a post.
                  SendMessageW(Application.Handle(), WM_CLOSE, 0, 0);
                  SendMessageW(Window, WM_CLOSE, 0, 0);
              })
        .Then("Q7N ports",
              [&](HWND Editor) { // the next tick: the posted close is handled by now
                  // The program's icon, as its other windows have it.
                  EXPECT_EQ(std::uintptr_t(SendMessageW(Editor, WM_GETICON, ICON_BIG, 0)),
                            std::uintptr_t(GetClassLongPtrW(Application.Handle(), GCLP_HICON)));
                  EXPECT_TRUE(IsWindow(Window));
                  EXPECT_EQ(SendMessageW(Window, WM_QUERYENDSESSION, 0, 0), FALSE);
                  PostMessageW(GetDlgItem(Editor, IDC_BTNOK), BM_CLICK, 0, 0);
              })
        .Start();
    PostMessageW(Main.Control("btnEdit"), BM_CLICK, 0, 0);
    ASSERT_TRUE(
        PumpUntil([&] { return Script.Finished() && Main.Presenter().CloseQuery(); }, 15000));
    // The edit went through: saved and recorded.
    const std::string PortsFile = Main.Presenter().Configurator()->PortsFile();
    EXPECT_TRUE(std::filesystem::exists(PortsFile));
    EXPECT_EQ(Program.Options().rgCfgFile->Value(), PortsFile);

    EXPECT_EQ(SendMessageW(Window, WM_QUERYENDSESSION, 0, 0), TRUE);
    SendMessageW(Window, WM_ENDSESSION, FALSE, 0); // another program refused: nothing to do
    EXPECT_EQ(SessionEnds, 0);
    SendMessageW(Window, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(SessionEnds, 1);
    SendMessageW(Window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(Window));
}

TEST_F(MainWindowWin32, EscapeLeavesItOpenTheCloseButtonEndsTheLoop) {
    Open();
    const HWND Window = FWindow->Handle();
    SetFocus(FWindow->Control("Button1"));
    test::PressKey(Window, VK_ESCAPE); // goes through the program's loop below
    bool OpenAfterEscape = false, Forced = false;
    int Ticks = 0;
    TMessageTimer Steps;
    Steps.SetInterval(300);
    Steps.SetHandler([&] {
        if (++Ticks == 1) {
            OpenAfterEscape = IsWindow(Window);
            PostMessageW(Window, WM_CLOSE, 0, 0);
        } else { // the close did not end the loop: end it, failing the test
            Forced = true;
            DestroyWindow(Window);
        }
    });
    Steps.SetEnabled(true);
    EXPECT_EQ(RunMessageLoop(Window), 0);
    EXPECT_TRUE(OpenAfterEscape);
    EXPECT_FALSE(Forced);
    EXPECT_FALSE(IsWindow(Window));
    EXPECT_EQ(FWindow->Presenter().Configurator(), nullptr); // FormDestroy freed it
}

} // namespace
} // namespace q7n::win32
