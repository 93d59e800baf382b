// The program that prints the settings key, run as a user runs it.
#include "base/testsupport/TemporaryFolder.h"
#include "platform/FileSystem.h"
#include "platform/RegistryExport.h"
#include "platform/posix/RegistryPosix.h"
#include "settings/ServiceOptions.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>

using namespace q7n;
using namespace q7n::platform;

namespace {

class RegistryExportProgram : public ::testing::Test {
protected:
    q7n::testing::TTemporaryFolder FFolder;
    std::string FDatabase = FFolder.File("machine.sqlite");

    // The program's exit code; its output and errors go to files of the folder.
    int Run(const std::string& Arguments) {
        std::string Command = "Q7N_MACHINE_DB='" + FDatabase + "' '" + Q7N_REGISTRY_EXPORT_PROGRAM +
                              "' " + Arguments + " >'" + FFolder.File("stdout") + "' 2>'" +
                              FFolder.File("stderr") + "'";
        int Status = std::system(Command.c_str());
        return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
    }
    std::string Expected(const std::string& Shown) {
        TPosixRegistry Registry(TMachineDatabaseMode::mdmReadOnly, FDatabase);
        TStatusOr<std::string> File =
            ExportRegistryKey(Registry, TRegRoot::rrLocalMachine, ServiceOptionsKeyPath, Shown);
        EXPECT_TRUE(File.Ok()) << File.Status().Text();
        return File.ValueOr("");
    }
};

} // namespace

TEST_F(RegistryExportProgram, PrintsTheStoredSettingForEitherWindows) {
    {
        TPosixRegistry Registry(TMachineDatabaseMode::mdmReadWrite, FDatabase);
        TdmServiceOptions Module(nullptr, Registry);
        Module.rgCfgFile->SetValue("C:\\Q7N\\Q7NPorts.xml");
    }
    ASSERT_EQ(Run(""), 0) << ReadWholeFile(FFolder.File("stderr"));
    std::string Printed = ReadWholeFile(FFolder.File("stdout"));
    EXPECT_EQ(Printed, Expected("Software\\WOW6432Node\\TAVO\\Q7NService\\0\\MainOptions"));
    EXPECT_EQ(Printed.substr(0, 4), std::string("\xFF\xFEW\0", 4));

    ASSERT_EQ(Run("--for-32-bit-windows --output '" + FFolder.File("x.reg") + "'"), 0);
    EXPECT_EQ(ReadWholeFile(FFolder.File("x.reg")), Expected(ServiceOptionsKeyPath));
    EXPECT_EQ(ReadWholeFile(FFolder.File("stdout")), "");
}

TEST_F(RegistryExportProgram, MissingKeyOrBadArgumentsFailClearly) {
    EXPECT_EQ(Run(""), 1);
    EXPECT_NE(
        ReadWholeFile(FFolder.File("stderr")).find("Software\\TAVO\\Q7NService\\0\\MainOptions"),
        std::string::npos);
    EXPECT_FALSE(FileExists(FDatabase)); // looking never creates the database
    EXPECT_EQ(Run("--bogus"), 2);
    EXPECT_EQ(Run("--output"), 2);

    // A damaged database is named and kept.
    { std::ofstream(FDatabase, std::ios::binary) << std::string(4096, 'x'); }
    EXPECT_EQ(Run(""), 1);
    EXPECT_NE(ReadWholeFile(FFolder.File("stderr")).find("damaged"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(FDatabase), std::string(4096, 'x'));
}
