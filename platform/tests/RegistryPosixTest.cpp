#include "platform/posix/RegistryPosix.h"

#include "base/testsupport/StatusCode.h"
#include "base/testsupport/TemporaryFolder.h"
#include "platform/FileSystem.h"
#include "platform/RegistryData.h"
#include "platform/RegistryKey.h"
#include "platform/testsupport/ForkedProcesses.h"
#include "platform/testsupport/TestRegistry.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace q7n::platform;
using q7n::testing::Code;
namespace fs = std::filesystem;

constexpr TRegRoot Hklm = TRegRoot::rrLocalMachine;

TEST(RegistryPosix, ReadingNeverCreatesTheDatabase) {
    q7n::testing::TTemporaryFolder Folder;
    std::string Path = Folder.File("state/machine.sqlite");
    TPosixRegistry Registry(TMachineDatabaseMode::mdmReadWrite, Path);
    TRegKey Key(Registry);
    EXPECT_EQ(Code(Key.Open(Hklm, "Software\\TAVO", KeyRead)), ErrorFileNotFound);
    EXPECT_EQ(Code(Registry.DeleteKeyTree(Hklm, "Software\\TAVO")), ErrorFileNotFound);
    EXPECT_FALSE(fs::exists(Path));
    EXPECT_EQ(Code(Key.Create(Hklm, "Software\\TAVO", KeyAllAccess)), ErrorSuccess);
    EXPECT_TRUE(fs::exists(Path));
}

// A read-only database plays a user without the rights to write below HKEY_LOCAL_MACHINE.
TEST(RegistryPosix, WithoutWriteAccessOpeningForWritingIsDenied) {
    q7n::testing::TTemporaryFolder Folder;
    std::string Path = Folder.File("machine.sqlite");
    {
        TPosixRegistry Writer(TMachineDatabaseMode::mdmReadWrite, Path);
        TRegKey Key(Writer);
        ASSERT_EQ(Code(Key.Create(Hklm, "Software\\TAVO", KeyAllAccess)), ErrorSuccess);
        ASSERT_EQ(Code(Key.WriteValue("v", RegSz, RegTextData("stored"))), ErrorSuccess);
    }
    TPosixRegistry User(TMachineDatabaseMode::mdmReadOnly, Path);
    TRegKey Key(User);
    EXPECT_EQ(Code(Key.Create(Hklm, "Software\\TAVO", KeyAllAccess)), ErrorAccessDenied);
    EXPECT_EQ(Code(Key.Create(Hklm, "Software\\Other", KeyAllAccess)), ErrorAccessDenied);
    EXPECT_EQ(Code(Key.Open(Hklm, "Software\\TAVO", KeyAllAccess)), ErrorAccessDenied);
    EXPECT_EQ(Code(User.DeleteKeyTree(Hklm, "Software\\TAVO")), ErrorAccessDenied);
    EXPECT_EQ(q7n::testing::ReadRegistryText(User, "Software\\TAVO", "v"), "stored");

    // Nor can such a user make the database, or the registry's tables in it.
    TPosixRegistry Nobody(TMachineDatabaseMode::mdmReadOnly, Folder.File("absent.sqlite"));
    EXPECT_EQ(Code(TRegKey(Nobody).Create(Hklm, "Software", KeyAllAccess)), ErrorAccessDenied);
    std::string Empty = Folder.File("empty.sqlite");
    { TMachineDatabase Db(TMachineDatabaseMode::mdmReadWrite, Empty); }
    TPosixRegistry OnEmpty(TMachineDatabaseMode::mdmReadOnly, Empty);
    EXPECT_EQ(Code(TRegKey(OnEmpty).Create(Hklm, "Software", KeyAllAccess)), ErrorAccessDenied);
    EXPECT_EQ(Code(TRegKey(OnEmpty).Open(Hklm, "Software", KeyRead)), ErrorFileNotFound);
}

TEST(RegistryPosix, DamagedOrForeignDatabaseIsAClearErrorAndIsKept) {
    q7n::testing::TTemporaryFolder Folder;
    std::string Garbage = Folder.File("garbage.sqlite");
    const std::string Content(4096, 'x');
    std::ofstream(Garbage, std::ios::binary) << Content;
    TPosixRegistry OnGarbage(TMachineDatabaseMode::mdmReadWrite, Garbage);
    TRegKey Key(OnGarbage);
    EXPECT_EQ(Code(Key.Open(Hklm, "Software", KeyRead)), ErrorRegistryCorrupt);
    EXPECT_NE(OnGarbage.LastErrorText().find(Garbage), std::string::npos);
    EXPECT_EQ(Code(Key.Create(Hklm, "Software", KeyAllAccess)), ErrorRegistryCorrupt);
    EXPECT_NE(OnGarbage.LastErrorText().find("damaged"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(Garbage), Content);

    // The registry's tables at a version this program does not know.
    std::string Newer = Folder.File("newer.sqlite");
    {
        TMachineDatabase Db(TMachineDatabaseMode::mdmReadWrite, Newer);
        Db.EnsureSchema("registry", 99,
                        [](TMachineDatabase& D) { D.Execute("CREATE TABLE registry_keys (x)"); });
    }
    TPosixRegistry OnNewer(TMachineDatabaseMode::mdmReadWrite, Newer);
    EXPECT_EQ(Code(TRegKey(OnNewer).Create(Hklm, "Software", KeyAllAccess)), ErrorBadDb);
    EXPECT_NE(OnNewer.LastErrorText().find("version 99"), std::string::npos);
    EXPECT_EQ(Code(TRegKey(OnNewer).Open(Hklm, "Software", KeyRead)), ErrorBadDb);
    TMachineDatabase Db(TMachineDatabaseMode::mdmReadOnly, Newer);
    EXPECT_EQ(Db.SchemaVersion("registry"), 99);
}

// Processes that create the same key and write values at the same time lose nothing, and only
// one of them finds the key new.
TEST(RegistryPosix, ConcurrentProcessesShareTheHive) {
    q7n::testing::TTemporaryFolder Folder;
    std::string Path = Folder.File("machine.sqlite");
    constexpr int Writers = 4;
    constexpr int Values = 25;
    // Each answers 10 when it made the key, 0 when it found it, 2 when a call failed.
    std::vector<int> Codes = q7n::testing::RunInForkedProcesses(Writers, [&](int W) {
        TPosixRegistry Registry(TMachineDatabaseMode::mdmReadWrite, Path);
        TRegKey Key(Registry);
        q7n::TStatusOr<std::uint32_t> Disposition =
            Key.CreateWithDisposition(Hklm, "Software\\Shared\\Key", KeyAllAccess);
        if (!Disposition.Ok())
            return 2;
        for (int V = 0; V < Values; ++V)
            if (!Key.WriteValue("w" + std::to_string(W) + "-" + std::to_string(V), RegDword,
                                RegDwordData(static_cast<std::uint32_t>(V)))
                     .Ok())
                return 2;
        return *Disposition == RegCreatedNewKey ? 10 : 0;
    });
    std::sort(Codes.begin(), Codes.end());
    EXPECT_EQ(Codes, (std::vector<int>{0, 0, 0, 10}));
    TPosixRegistry Registry(TMachineDatabaseMode::mdmReadOnly, Path);
    TRegKey Key(Registry);
    ASSERT_EQ(Code(Key.Open(Hklm, "Software\\Shared\\Key", KeyRead)), ErrorSuccess);
    q7n::TStatusOr<std::vector<std::string>> Names = Key.ValueNames();
    ASSERT_EQ(Code(Names), ErrorSuccess);
    EXPECT_EQ(Names->size(), static_cast<std::size_t>(Writers * Values));
}
