// The program and the main window's presenter without a toolkit: the edit opens the windows it
// was given, waits for the ports file's lock with the timer ticking on and refuses a second press
// meanwhile, and the main window writes the settings at a session end.
#include "app/ConfiguratorProgram.h"
#include "base/testsupport/TemporaryFolder.h"
#include "platform/testsupport/TestRegistry.h"
#include "ports/Q7NDocument.h"
#include "service/testsupport/FakeServiceControlManager.h"
#include "service/testsupport/ManualTiming.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace q7n::app {
namespace {

// A main window that draws nothing, on a clock and a timer that the test moves.
class TDrawnNowhere final : public IMainWindowView {
public:
    explicit TDrawnNowhere(TMainWindowParts Parts) {
        Parts.Clock = &Clock;
        auto Owned = std::make_unique<testing::TManualTimer>();
        Timer = Owned.get();
        Presenter.FormCreate(std::move(Parts), std::move(Owned));
    }
    ~TDrawnNowhere() override { Presenter.FormDestroy(); }

    void ShowServiceState() override { ++Shown; }
    void Tick(std::int64_t Milliseconds) {
        Clock.Now += Milliseconds;
        Timer->Handler();
    }

    testing::TFakeClock Clock;
    testing::TManualTimer* Timer = nullptr;
    int Shown = 0;
    TMainWindowPresenter Presenter{*this};
};

// Windows that cancel the list editor; each pause of a modal wait runs OnPause.
class TCountingDialogs final : public IPortsEditDialogs {
public:
    bool ExecutePortList(TQ7NPorts&, IMachineCheck* Machine) override {
        LastMachine = Machine;
        return ++Lists, false;
    }
    bool Confirm(const std::string&) override { return false; }
    bool ConfirmOverwrite(const std::string&) override { return false; }
    void Warn(const std::string&) override {}
    bool WaitModally(const std::function<bool(const platform::TLockPause&)>& Wait) override {
        return Wait([this](std::chrono::milliseconds) {
            if (OnPause)
                OnPause();
        });
    }
    int Lists = 0;
    IMachineCheck* LastMachine = nullptr;
    std::function<void()> OnPause;
};

class ConfiguratorProgramTest : public ::testing::Test {
protected:
    ConfiguratorProgramTest() {
        const std::filesystem::path Previous = std::filesystem::current_path();
        std::filesystem::current_path(FFolder.Path()); // the configurator's folder
        FWindow = &FProgram.CreateMainWindow<TDrawnNowhere>(&FPlatform);
        std::filesystem::current_path(Previous);
    }

    testing::TTemporaryFolder FFolder;
    testing::TTestRegistry FStore{ServiceOptionsKeyPath};
    testing::TFakeServiceControlManager FPlatform;
    TCountingDialogs FDialogs;
    TConfiguratorProgram FProgram{FDialogs, &FStore.Backend};
    TDrawnNowhere* FWindow = nullptr;
};

TEST_F(ConfiguratorProgramTest, GivesTheEditItsWindowsAndWritesTheSettingsAtTheSessionEnd) {
    FWindow->Presenter.Press(TMainCommand::mcEditPorts);
    EXPECT_EQ(FDialogs.Lists, 1);
    // The list editor's marks look at the machine, which has no COM200.
    ASSERT_NE(FDialogs.LastMachine, nullptr);
    auto Ports = TXMLClass::Create<TQ7NPorts>(nullptr);
    Ports->Add()->SetCOMPort(200);
    EXPECT_EQ(FDialogs.LastMachine->CheckRows(*Ports).at(0).Kind, mfComPortMissing);

    const std::string PortsFile = FWindow->Presenter.Configurator()->PortsFile();
    EXPECT_EQ(PortsFile, FFolder.File("Q7NPorts.xml"));
    FProgram.Options().rgCfgFile->SetValue(PortsFile);
    FWindow->Presenter.OnEndSession();
    EXPECT_EQ(TdmServiceOptions(nullptr, FStore.Backend).rgCfgFile->Value(), PortsFile);
}

TEST_F(ConfiguratorProgramTest, TheLockWaitPollsOnAndRefusesASecondEdit) {
    const std::string PortsFile = FWindow->Presenter.Configurator()->PortsFile();
    platform::TFileLock Other =
        TQ7NDocument::Lock(PortsFile, platform::lmExclusive, std::chrono::milliseconds(0));
    ASSERT_TRUE(Other);
    int Pauses = 0;
    FDialogs.OnPause = [&] {
        FWindow->Tick(600); // a poll is due at every pause
        FWindow->Presenter.Press(TMainCommand::mcEditPorts);
        if (++Pauses == 3)
            Other = {}; // the other program is done
    };
    FWindow->Presenter.Press(TMainCommand::mcEditPorts);
    EXPECT_EQ(Pauses, 3);
    EXPECT_EQ(FWindow->Shown, 3);
    EXPECT_EQ(FDialogs.Lists, 1);
    EXPECT_TRUE(FWindow->Presenter.CloseQuery());
}

} // namespace
} // namespace q7n::app
