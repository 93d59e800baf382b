// The ports edit flow end to end over the stand-ins: a real ports file, the registry stand-in
// under the settings module, the recording service manager, and scripted windows.
#include "base/testsupport/TemporaryFolder.h"
#include "platform/FileSystem.h"
#include "ports/Q7NDocument.h"
#include "ports/testsupport/PortsFileByHand.h"
#include "service/PortsEditFlow.h"
#include "service/PortsFileMessages.h"
#include "service/ServiceConfigurator.h"
#include "service/testsupport/FakeServiceControlManager.h"
#include "service/testsupport/ManualTiming.h"
#include "settings/ServiceOptions.h"
#include "settings/testsupport/RecordingRegistry.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

using namespace q7n;
using namespace q7n::platform;
namespace fs = std::filesystem;

namespace {

// Windows that answer as the test says and remember what they were asked and told.
class TScriptedDialogs final : public IPortsEditDialogs {
public:
    std::function<bool(TQ7NPorts&)> OnEdit = [](TQ7NPorts&) {
        return true;
    };
    bool ConfirmAnswer = true;
    std::function<void()> OnConfirm;
    bool OverwriteAnswer = false;
    std::vector<std::string> Questions;
    std::vector<std::string> Warnings;
    int Edits = 0;

    bool ExecutePortList(TQ7NPorts& Ports, IMachineCheck*) override {
        ++Edits;
        return OnEdit(Ports);
    }
    bool Confirm(const std::string& Text) override {
        Questions.push_back(Text);
        if (OnConfirm)
            OnConfirm();
        return ConfirmAnswer;
    }
    bool ConfirmOverwrite(const std::string& Text) override {
        Questions.push_back(Text);
        return OverwriteAnswer;
    }
    void Warn(const std::string& Text) override { Warnings.push_back(Text); }
    bool WaitModally(const std::function<bool(const TLockPause&)>& Wait) override {
        return Wait({});
    }
};

class EditPortsTest : public ::testing::Test {
protected:
    EditPortsTest() {
        FOptions.reset(CreateServiceOptions(nullptr, FRegistry));
        FPortsEdit =
            std::make_unique<TPortsEditFlow>(FDialogs, *FOptions, std::chrono::milliseconds(100));
        MakeConfigurator(FFolder.File("Q7NPorts.xml"));
    }

    // A configurator without a window, started, for the ports file at PortsFile.
    void MakeConfigurator(const std::string& PortsFile) {
        FConfigurator.reset();
        auto Timer = std::make_unique<q7n::testing::TManualTimer>();
        FTimer = Timer.get();
        FConfigurator = std::make_unique<TServiceConfigurator>(
            "Q7NSrv", TServiceFiles{"", PortsFile}, nullptr, FPortsEdit.get(), FPlatform, FClock,
            std::move(Timer));
        FConfigurator->Start();
    }

    // Lets the configurator poll the service in State.
    void SeeService(std::uint32_t State) {
        FPlatform.States["Q7NSrv"] = State;
        Tick(600);
        ASSERT_EQ(FConfigurator->State(), State);
    }

    void Tick(std::int64_t Milliseconds = 100) {
        FClock.Now += Milliseconds;
        FTimer->Handler();
    }

    bool NextTickStops() {
        FPlatform.TakeCalls();
        Tick();
        std::vector<std::string> Calls = FPlatform.TakeCalls();
        return std::find(Calls.begin(), Calls.end(), "ControlStop") != Calls.end();
    }

    int PortsInFile() { return q7n::testing::MappingsIn(FConfigurator->PortsFile()); }

    static bool AddOnePort(TQ7NPorts& Ports) {
        TQ7NPort* Port = Ports.Add();
        Port->SetIP("10.0.0.7");
        Port->SetCOMPort(3);
        return true;
    }

    int Writes() const { return static_cast<int>(FRegistry.CallsOf("WriteValue").size()); }

    q7n::testing::TTemporaryFolder FFolder;
    q7n::testing::TTestRegistry FStore{ServiceOptionsKeyPath};
    q7n::testing::TRecordingRegistry FRegistry{FStore.Backend};
    std::unique_ptr<TdmServiceOptions> FOptions;
    q7n::testing::TFakeServiceControlManager FPlatform;
    q7n::testing::TFakeClock FClock;
    q7n::testing::TManualTimer* FTimer = nullptr;
    TScriptedDialogs FDialogs;
    std::unique_ptr<TPortsEditFlow> FPortsEdit;
    std::unique_ptr<TServiceConfigurator> FConfigurator;
};

} // namespace

TEST_F(EditPortsTest, CancelSavesNothingStoresNothingAndAsksNothing) {
    SeeService(4);
    FDialogs.OnEdit = [](TQ7NPorts& Ports) {
        return AddOnePort(Ports) && false;
    };
    int WritesBefore = Writes();
    FConfigurator->EditPorts();
    EXPECT_EQ(FDialogs.Edits, 1);
    EXPECT_FALSE(fs::exists(FConfigurator->PortsFile()));
    EXPECT_EQ(Writes(), WritesBefore);
    EXPECT_TRUE(FDialogs.Questions.empty());
    EXPECT_FALSE(NextTickStops());
}

TEST_F(EditPortsTest, ConfirmingSavesRecordsThePathOnceAndOffersARestartOfARunningService) {
    SeeService(4);
    FDialogs.OnEdit = [](TQ7NPorts& Ports) {
        EXPECT_EQ(Ports.Count(), 0); // no file yet: an empty list
        return AddOnePort(Ports);
    };
    int WritesBefore = Writes();
    FConfigurator->EditPorts();
    EXPECT_EQ(PortsInFile(), 1);
    EXPECT_EQ(Writes(), WritesBefore + 1);
    EXPECT_EQ(q7n::testing::ReadRegistryText(FStore.Backend, ServiceOptionsKeyPath, "rgCfgFile"),
              FConfigurator->PortsFile());
    EXPECT_EQ(FDialogs.Questions, std::vector<std::string>{"Перезапустить сервис?"});
    EXPECT_TRUE(NextTickStops()); // the restart is served like a button press

    // Again, unchanged: the file is saved, the registry left alone, and No restarts nothing.
    SeeService(4);
    FDialogs.OnEdit = [](TQ7NPorts& Ports) {
        EXPECT_EQ(Ports.Count(), 1); // the file's content, read afresh
        return true;
    };
    FDialogs.ConfirmAnswer = false;
    WritesBefore = Writes();
    FConfigurator->EditPorts();
    EXPECT_EQ(Writes(), WritesBefore);
    EXPECT_EQ(FDialogs.Questions.size(), 2u);
    EXPECT_FALSE(NextTickStops());
}

TEST_F(EditPortsTest, AServiceThatIsNotRunningIsNotAskedAbout) {
    for (std::uint32_t State : {0u, 1u, 2u, 3u}) {
        if (State == 0)
            FPlatform.States.erase("Q7NSrv"), Tick(600);
        else
            SeeService(State);
        FConfigurator->EditPorts();
        EXPECT_TRUE(FDialogs.Questions.empty()) << "state " << State;
    }
    EXPECT_TRUE(fs::exists(FConfigurator->PortsFile()));

    // The state that counts is the one polled last before the question: polls go on meanwhile.
    FDialogs.OnEdit = [this](TQ7NPorts&) {
        SeeService(4);
        return true;
    };
    FConfigurator->EditPorts();
    EXPECT_EQ(FDialogs.Questions.size(), 1u);
}

TEST_F(EditPortsTest, AnUnreadableFileIsAnnouncedAndKeptWhenTheEditIsSaved) {
    {
        std::ofstream Broken(FConfigurator->PortsFile(), std::ios::binary);
        Broken << "<config><Q7NPorts><Item><IP>1.2.3.4</IP>"; // cut off
    }
    FDialogs.OnEdit = [this](TQ7NPorts& Ports) {
        EXPECT_EQ(FDialogs.Warnings.size(), 1u); // before the editor opens
        EXPECT_EQ(Ports.Count(), 0);
        return AddOnePort(Ports);
    };
    FConfigurator->EditPorts();
    ASSERT_EQ(FDialogs.Warnings.size(), 1u);
    const std::string& Warning = FDialogs.Warnings[0];
    EXPECT_NE(Warning.find(FConfigurator->PortsFile()), std::string::npos);
    EXPECT_NE(Warning.find("Q7NPorts.rejected.xml"), std::string::npos);
    EXPECT_NE(Warning.find("(строка 1, столбец 40)"), std::string::npos) << Warning;
    EXPECT_TRUE(fs::exists(FFolder.File("Q7NPorts.rejected.xml")));
    EXPECT_EQ(PortsInFile(), 1);
}

TEST_F(EditPortsTest, TheWarningPlacesABadValueAndNamesAGoodBackupThatTheSaveKeeps) {
    const std::string Backup = FFolder.File("Q7NPorts.bak");
    std::ofstream(Backup, std::ios::binary) << "<config Application=\"\" Version=\"1\"/>";
    std::ofstream(FConfigurator->PortsFile(), std::ios::binary)
        << "<config Application=\"\" Version=\"1\"><Q7NPorts><Item/><Item/><Item>"
           "<COMPort>COM3</COMPort></Item></Q7NPorts></config>";
    FDialogs.OnEdit = AddOnePort;
    FConfigurator->EditPorts();
    ASSERT_EQ(FDialogs.Warnings.size(), 1u);
    const std::string& Warning = FDialogs.Warnings[0];
    EXPECT_NE(Warning.find("(запись 3, элемент <COMPort>)"), std::string::npos) << Warning;
    EXPECT_NE(Warning.find("\"" + Backup + "\""), std::string::npos) << Warning;
    EXPECT_EQ(PortsInFile(), 1);
    EXPECT_EQ(ReadWholeFile(Backup), "<config Application=\"\" Version=\"1\"/>");
}

TEST_F(EditPortsTest, AFailedSaveIsShownAndNeitherRecordedNorFollowedByARestart) {
    MakeConfigurator(FFolder.File("missing folder/Q7NPorts.xml"));
    SeeService(4);
    FDialogs.OnEdit = AddOnePort;
    int WritesBefore = Writes();
    FConfigurator->EditPorts();
    ASSERT_EQ(FDialogs.Warnings.size(), 1u);
    EXPECT_NE(FDialogs.Warnings[0].find("Не удалось сохранить"), std::string::npos);
    EXPECT_EQ(Writes(), WritesBefore);
    EXPECT_TRUE(FDialogs.Questions.empty());
}

TEST_F(EditPortsTest, AChangeSavedWhileTheEditorWasOpenIsOverwrittenOnlyWhenTheUserSaysSo) {
    SeeService(4);
    const std::string Path = FConfigurator->PortsFile();
    // Another program (q7nctl, another window) saves its mapping while the editor is open.
    FDialogs.OnEdit = [&](TQ7NPorts& Ports) {
        q7n::testing::AddMappingElsewhere(Path, "10.0.0.7");
        Ports.Add()->SetIP("10.9.9.9");
        return true;
    };
    int WritesBefore = Writes();
    FConfigurator->EditPorts(); // the box's default: keep the file
    EXPECT_EQ(FDialogs.Questions, std::vector<std::string>{FileChangedQuestion(Path)});
    EXPECT_EQ(PortsInFile(), 1);
    EXPECT_EQ(Writes(), WritesBefore);
    EXPECT_FALSE(NextTickStops());

    FDialogs.Questions.clear();
    FDialogs.OverwriteAnswer = true;
    SeeService(4);
    FConfigurator->EditPorts(); // opens on 1 mapping, the other program makes 2, the edit 2
    EXPECT_EQ(FDialogs.Questions,
              (std::vector<std::string>{FileChangedQuestion(Path), "Перезапустить сервис?"}));
    TQ7NDocument Saved;
    Saved.Load(Path);
    ASSERT_EQ(Saved.Options()->Q7NPorts()->Count(), 2);
    EXPECT_EQ(Saved.Options()->Q7NPorts()->Items(1)->IP(), "10.9.9.9");
}

TEST_F(EditPortsTest, WhileAnotherProgramHoldsTheFileTheUserMayWaitOrGiveUp) {
    const std::string Path = FConfigurator->PortsFile();
    platform::TFileLock Other;
    FDialogs.OnEdit = [&](TQ7NPorts& Ports) {
        if (!Other)
            Other = TQ7NDocument::Lock(Path, platform::lmExclusive, std::chrono::milliseconds(0));
        EXPECT_TRUE(Other);
        return AddOnePort(Ports);
    };
    FDialogs.ConfirmAnswer = false;
    FConfigurator->EditPorts();
    EXPECT_EQ(FDialogs.Questions, std::vector<std::string>{FileBusyQuestion(Path)});
    EXPECT_FALSE(fs::exists(Path));

    // This time the user waits once more, and the other program is done by then.
    FDialogs.Questions.clear();
    FDialogs.ConfirmAnswer = true;
    FDialogs.OnConfirm = [&] {
        Other = {};
    };
    FConfigurator->EditPorts();
    EXPECT_EQ(FDialogs.Questions, std::vector<std::string>{FileBusyQuestion(Path)});
    EXPECT_EQ(PortsInFile(), 1);
}
