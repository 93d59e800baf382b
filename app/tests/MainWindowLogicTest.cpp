// The program without a toolkit: it hands the ports edit its windows once they exist, and the
// main window writes the settings at a session end.
#include "app/ConfiguratorProgram.h"
#include "base/testsupport/TemporaryFolder.h"
#include "platform/testsupport/TestRegistry.h"
#include "service/testsupport/FakeServiceControlManager.h"
#include "service/testsupport/ManualTiming.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace q7n::app {
namespace {

// A main window that draws nothing.
class TDrawnNowhere final : public TMainWindowLogic {
public:
    TDrawnNowhere(platform::IServiceControlManager* Platform, IPortsEditFlow* PortsEdit) {
        FormCreate(Platform, std::make_unique<testing::TManualTimer>(), PortsEdit);
    }
    ~TDrawnNowhere() override { FormDestroy(); }

protected:
    void ShowServiceState() override {}
};

class TCountingDialogs final : public IPortsEditDialogs {
public:
    bool ExecutePortList(TQ7NPorts&, IMachineCheck* Machine) override {
        LastMachine = Machine;
        return ++Lists, false;
    }
    bool Confirm(const std::string&) override { return false; }
    bool ConfirmOverwrite(const std::string&) override { return false; }
    void Warn(const std::string&) override {}
    int Lists = 0;
    IMachineCheck* LastMachine = nullptr;
};

TEST(ConfiguratorProgram, GivesTheEditItsWindowsAndWritesTheSettingsAtTheSessionEnd) {
    testing::TTemporaryFolder Folder;
    const std::filesystem::path Previous = std::filesystem::current_path();
    std::filesystem::current_path(Folder.Path()); // the configurator's folder
    testing::TTestRegistry Store(ServiceOptionsKeyPath);
    testing::TFakeServiceControlManager Platform;
    TCountingDialogs Dialogs;
    TConfiguratorProgram Program(&Store.Backend);
    TDrawnNowhere& Window = Program.CreateMainWindow<TDrawnNowhere>(&Platform);
    std::filesystem::current_path(Previous);
    Window.Press(TMainCommand::mcEditPorts); // before the windows exist: nothing opens
    Program.SetPortsEditDialogs(Dialogs);
    Window.Press(TMainCommand::mcEditPorts);
    EXPECT_EQ(Dialogs.Lists, 1);
    // The list editor's marks look at the machine, which has no COM200.
    ASSERT_NE(Dialogs.LastMachine, nullptr);
    auto Ports = TXMLClass::Create<TQ7NPorts>(nullptr);
    Ports->Add()->SetCOMPort(200);
    EXPECT_EQ(Dialogs.LastMachine->CheckRows(*Ports).at(0).Kind, mfComPortMissing);

    const std::string PortsFile = Window.Configurator()->PortsFile();
    EXPECT_EQ(PortsFile, Folder.File("Q7NPorts.xml"));
    Program.Options().rgCfgFile->SetValue(PortsFile);
    Window.OnEndSession();
    EXPECT_EQ(TdmServiceOptions(nullptr, Store.Backend).rgCfgFile->Value(), PortsFile);
}

} // namespace
} // namespace q7n::app
