#include "settings/ServiceOptions.h"

#include "platform/RegistryData.h"
#include "platform/RegistryKey.h"
#include "platform/testsupport/RunningUnderWine.h"
#include "settings/testsupport/RegistryKeyTest.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace q7n;
using namespace q7n::platform;
using Calls = std::vector<std::string>;

namespace {

class ServiceOptionsTest : public q7n::testing::TRegistryKeyTest {
protected:
    ServiceOptionsTest() : TRegistryKeyTest(ServiceOptionsKeyPath) {}

    void SetUp() override {
        // Never touch a configuration that is really there (a Windows machine's own). The
        // stand-in's database and Wine's prefix are the tests' own: one there was left by a test.
        TRegKey Existing(FRegistry.Backend);
        if (Existing.Open(Hklm, "Software\\TAVO\\Q7NService", KeyRead).Ok()) {
            if (!q7n::testing::RunningUnderWine())
                GTEST_SKIP() << "the machine holds a configurator's settings";
            FAIL() << "a test before this one left the configurator's key behind";
        }
        FClean = true;
    }
    void TearDown() override {
        if (FClean) {
            EXPECT_TRUE(FRegistry.Backend.DeleteKeyTree(Hklm, "Software\\TAVO\\Q7NService").Ok());
        }
    }

    bool FClean = false;
};

} // namespace

TEST_F(ServiceOptionsTest, ModuleHoldsItsFiveComponentsInOrder) {
    TdmServiceOptions Module(nullptr, FRecorder);
    ASSERT_EQ(Module.ComponentCount(), 5);
    EXPECT_EQ(Module.Components(0), Module.DataContainerDialog);
    EXPECT_EQ(Module.Components(1), Module.DCAppInfo);
    EXPECT_EQ(Module.Components(2), Module.DataContainer);
    EXPECT_EQ(Module.Components(3), Module.rgcFile);
    EXPECT_EQ(Module.Components(4), Module.rgCfgFile);
    EXPECT_EQ(Module.FindComponent("rgCfgFile"), Module.rgCfgFile);
    EXPECT_EQ(Module.DataContainer->KeyPath(), ServiceOptionsKeyPath);
    EXPECT_EQ(Module.rgCfgFile->Value(), "");
    // Created, then collected and loaded.
    EXPECT_EQ(Module.DataContainer->Saver()->Items()->Count(), 1);
    EXPECT_EQ(Module.DataContainer->Categories()->Count(), 1);
    EXPECT_EQ(FRecorder.Calls, (Calls{std::string("OpenKey ") + ServiceOptionsKeyPath}));
}

TEST_F(ServiceOptionsTest, FirstRunWithoutEditWritesAnEmptyPathAtExit) {
    {
        TdmServiceOptions Module(nullptr, FRecorder);
        EXPECT_TRUE(Module.rgCfgFile->Modified());
        EXPECT_EQ(Stored("rgCfgFile").first, 0xFFFFFFFF); // nothing is created at start-up
    }
    EXPECT_EQ(Stored("rgCfgFile"), std::make_pair(RegSz, std::vector<std::uint8_t>{0}));

    // The next run finds it and writes nothing at exit.
    FRecorder.TakeCalls();
    {
        TdmServiceOptions Module(nullptr, FRecorder);
        EXPECT_FALSE(Module.rgCfgFile->Modified());
    }
    EXPECT_TRUE(FRecorder.CallsOf("WriteValue").empty());
}

TEST_F(ServiceOptionsTest, EditIsWrittenOnceRightAfterThePortsFile) {
    const std::string Ports = "C:\\Работа\\Q7NPorts.xml";
    {
        TdmServiceOptions Module(nullptr, FRecorder);
        Module.rgCfgFile->SetValue(Ports);
        Module.DataContainer->Save();
        EXPECT_EQ(FRecorder.CallsOf("WriteValue"), Calls{"WriteValue rgCfgFile"});
        EXPECT_EQ(Stored("rgCfgFile"), std::make_pair(RegSz, RegTextData(Ports)));
        FRecorder.TakeCalls();
    }
    EXPECT_EQ(FRecorder.Calls,
              (Calls{std::string("CreateKey ") + ServiceOptionsKeyPath, "CloseKey"}));

    // Saving the ports under the stored path again writes nothing, though the key is opened.
    TdmServiceOptions Module(nullptr, FRecorder);
    EXPECT_EQ(Module.rgCfgFile->Value(), Ports);
    FRecorder.TakeCalls();
    Module.rgCfgFile->SetValue(Ports);
    Module.DataContainer->Save();
    EXPECT_EQ(FRecorder.TakeCalls(),
              (Calls{std::string("CreateKey ") + ServiceOptionsKeyPath, "CloseKey"}));
}

TEST_F(ServiceOptionsTest, StoredNumberIsLeftAloneUntilTheNextEdit) {
    Store("rgCfgFile", RegDword, RegDwordData(5));
    {
        TdmServiceOptions Module(nullptr, FRecorder);
        EXPECT_EQ(Module.rgCfgFile->Value(), "");
        EXPECT_FALSE(Module.rgCfgFile->Modified());
    }
    EXPECT_EQ(Stored("rgCfgFile"), std::make_pair(RegDword, RegDwordData(5)));

    TdmServiceOptions Module(nullptr, FRecorder);
    Module.rgCfgFile->SetValue("C:\\Q7N\\Q7NPorts.xml");
    Module.DataContainer->Save();
    EXPECT_EQ(Stored("rgCfgFile"), std::make_pair(RegSz, RegTextData("C:\\Q7N\\Q7NPorts.xml")));
}

TEST_F(ServiceOptionsTest, FailedWriteIsNotTriedAgainAtExit) {
    FRecorder.FailingWrites["rgCfgFile"] = ErrorAccessDenied;
    {
        TdmServiceOptions Module(nullptr, FRecorder);
        Module.rgCfgFile->SetValue("C:\\Q7N\\Q7NPorts.xml");
        Module.DataContainer->Save();
        EXPECT_FALSE(Module.rgCfgFile->Modified());
        EXPECT_EQ(Module.rgCfgFile->Value(), "C:\\Q7N\\Q7NPorts.xml");
        FRecorder.TakeCalls();
    }
    EXPECT_TRUE(FRecorder.CallsOf("WriteValue").empty());
    EXPECT_EQ(FRecorder.OpenKeys, 0);
}

TEST_F(ServiceOptionsTest, GlobalModuleClearsItselfWhenFreed) {
    TComponent Application(nullptr);
    TdmServiceOptions* Module = CreateServiceOptions(&Application, FRecorder);
    EXPECT_EQ(dmServiceOptions, Module);
    EXPECT_EQ(Module->Owner(), &Application);
    delete Module;
    EXPECT_EQ(dmServiceOptions, nullptr);
    EXPECT_EQ(Stored("rgCfgFile"), std::make_pair(RegSz, std::vector<std::uint8_t>{0}));
}

#ifndef _WIN32
// A user without rights: the stand-in's database is open for reading only.
TEST_F(ServiceOptionsTest, WithoutRightsNothingIsStoredAndNothingFails) {
    { TdmServiceOptions Writer(nullptr, FRegistry.Backend); } // makes the key, empty path
    TPosixRegistry User(TMachineDatabaseMode::mdmReadOnly, FRegistry.Folder.File("machine.sqlite"));
    q7n::testing::TRecordingRegistry Recorder(User);
    {
        TdmServiceOptions Module(nullptr, Recorder);
        Module.rgCfgFile->SetValue("/srv/q7n/Q7NPorts.xml");
        Module.DataContainer->Save();
        EXPECT_FALSE(Module.rgCfgFile->Modified());
    }
    EXPECT_EQ(Recorder.CallsOf("WriteValue").size(), 0u); // the key does not open for writing
    EXPECT_EQ(Stored("rgCfgFile"), std::make_pair(RegSz, std::vector<std::uint8_t>{0}));
}
#endif

// The module that the program creates runs over the build's own registry: on POSIX the stand-in
// at the path the environment names.
TEST_F(ServiceOptionsTest, ModuleOfTheProgramUsesTheDefaultRegistry) {
#ifndef _WIN32
    std::string Path = FRegistry.Folder.File("machine.sqlite");
    ::setenv("Q7N_MACHINE_DB", Path.c_str(), 1);
#endif
    TComponent Application(nullptr);
    TdmServiceOptions* Module = CreateServiceOptions(&Application);
    EXPECT_EQ(&Module->DataContainer->Registry(), &DefaultRegistry());
    Module->rgCfgFile->SetValue("C:\\Q7N\\Q7NPorts.xml");
    delete Module;
#ifndef _WIN32
    ::unsetenv("Q7N_MACHINE_DB");
#endif
    EXPECT_EQ(Stored("rgCfgFile"), std::make_pair(RegSz, RegTextData("C:\\Q7N\\Q7NPorts.xml")));
}
