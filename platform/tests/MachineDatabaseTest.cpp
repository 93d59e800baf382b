#include "platform/posix/MachineDatabase.h"

#include "base/testsupport/TemporaryFolder.h"
#include "platform/FileSystem.h"
#include "platform/testsupport/ForkedProcesses.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace q7n::platform;
namespace fs = std::filesystem;

namespace {

class MachineDatabaseTest : public ::testing::Test {
protected:
    std::string PathOf(const std::string& Name) const { return FFolder.File(Name); }

    static void CreateCounter(TMachineDatabase& Db) {
        Db.Execute("CREATE TABLE counter (id INTEGER PRIMARY KEY, value INTEGER NOT NULL)");
        Db.Execute("INSERT INTO counter VALUES (1, 0)");
    }

    q7n::testing::TTemporaryFolder FFolder;
};

// Restores an environment variable when the test ends.
class TScopedEnv {
public:
    TScopedEnv(const char* Name, const char* Value) : FName(Name) {
        if (const char* Old = std::getenv(Name))
            FOld = Old;
        if (Value)
            ::setenv(Name, Value, 1);
        else
            ::unsetenv(Name);
    }
    ~TScopedEnv() {
        if (FOld)
            ::setenv(FName, FOld->c_str(), 1);
        else
            ::unsetenv(FName);
    }

private:
    const char* FName;
    std::optional<std::string> FOld;
};

} // namespace

TEST_F(MachineDatabaseTest, DefaultPathFollowsTheEnvironment) {
    TScopedEnv Db("Q7N_MACHINE_DB", nullptr);
    {
        TScopedEnv State("XDG_STATE_HOME", "/var/x");
        EXPECT_EQ(TMachineDatabase::DefaultPath(), "/var/x/q7nconfig/machine.sqlite");
    }
    {
        TScopedEnv State("XDG_STATE_HOME", "relative/is/ignored");
        TScopedEnv Home("HOME", "/home/u");
        EXPECT_EQ(TMachineDatabase::DefaultPath(), "/home/u/.local/state/q7nconfig/machine.sqlite");
    }
    {
        TScopedEnv State("XDG_STATE_HOME", nullptr);
        TScopedEnv Home("HOME", "/home/u");
        EXPECT_EQ(TMachineDatabase::DefaultPath(), "/home/u/.local/state/q7nconfig/machine.sqlite");
    }
    TScopedEnv Explicit("Q7N_MACHINE_DB", "/tmp/m.sqlite");
    EXPECT_EQ(TMachineDatabase::DefaultPath(), "/tmp/m.sqlite");
}

TEST_F(MachineDatabaseTest, CreatesFoldersAndSchemaOnceAndUsesWal) {
    std::string Path = PathOf("a/b/machine.sqlite");
    int Creations = 0;
    {
        TMachineDatabase Db(TMachineDatabaseMode::mdmReadWrite, Path);
        EXPECT_TRUE(Db.EnsureSchema("counter", 1, [&](TMachineDatabase& D) {
            ++Creations;
            CreateCounter(D);
        }));
        EXPECT_TRUE(Db.EnsureSchema("counter", 1, [&](TMachineDatabase&) { ++Creations; }));
        EXPECT_EQ(Db.SchemaVersion("counter"), 1);
        EXPECT_EQ(Db.SchemaVersion("other"), 0);
        TSqlStatement Mode(Db.Handle(), "PRAGMA journal_mode");
        ASSERT_TRUE(Mode.Step());
        EXPECT_EQ(Mode.ColumnText(0), "wal");
    }
    TMachineDatabase Again(TMachineDatabaseMode::mdmReadWrite, Path);
    EXPECT_TRUE(Again.EnsureSchema("counter", 1, [&](TMachineDatabase&) { ++Creations; }));
    EXPECT_EQ(Creations, 1);
    // A second user of the file adds its own tables beside the first.
    EXPECT_TRUE(Again.EnsureSchema(
        "second", 3, [](TMachineDatabase& D) { D.Execute("CREATE TABLE second (x)"); }));
    EXPECT_EQ(Again.SchemaVersion("second"), 3);
    EXPECT_EQ(Again.SchemaVersion("counter"), 1);
}

TEST_F(MachineDatabaseTest, FailedCreationLeavesNoTrace) {
    std::string Path = PathOf("machine.sqlite");
    TMachineDatabase Db(TMachineDatabaseMode::mdmReadWrite, Path);
    EXPECT_THROW(Db.EnsureSchema("broken", 1,
                                 [](TMachineDatabase& D) {
                                     D.Execute("CREATE TABLE half (x)");
                                     D.Execute("THIS IS NOT SQL");
                                 }),
                 EMachineDatabaseError);
    EXPECT_EQ(Db.SchemaVersion("broken"), 0);
    TSqlStatement Half(Db.Handle(), "SELECT 1 FROM sqlite_master WHERE name='half'");
    EXPECT_FALSE(Half.Step());
}

TEST_F(MachineDatabaseTest, UnknownSchemaAndForeignFilesAreRefusedAndKept) {
    std::string Path = PathOf("machine.sqlite");
    {
        TMachineDatabase Db(TMachineDatabaseMode::mdmReadWrite, Path);
        Db.EnsureSchema("counter", 2, CreateCounter);
    }
    TMachineDatabase Db(TMachineDatabaseMode::mdmReadWrite, Path);
    try {
        Db.EnsureSchema("counter", 1, CreateCounter);
        FAIL() << "an unknown version was accepted";
    } catch (const EMachineDatabaseError& E) {
        EXPECT_NE(std::string(E.what()).find("version 2"), std::string::npos) << E.what();
    }
    EXPECT_EQ(Db.SchemaVersion("counter"), 2);

    // Another program's SQLite file at the same path.
    std::string Foreign = PathOf("foreign.sqlite");
    sqlite3* Raw = nullptr;
    ASSERT_EQ(sqlite3_open(Foreign.c_str(), &Raw), SQLITE_OK);
    sqlite3_exec(Raw, "CREATE TABLE theirs (x)", nullptr, nullptr, nullptr);
    sqlite3_close(Raw);
    TMachineDatabase Theirs(TMachineDatabaseMode::mdmReadWrite, Foreign);
    EXPECT_THROW(Theirs.EnsureSchema("counter", 1, CreateCounter), EMachineDatabaseError);
}

TEST_F(MachineDatabaseTest, GarbageFileIsAClearErrorAndIsNotReplaced) {
    std::string Path = PathOf("machine.sqlite");
    std::string Garbage(8192, 'x');
    std::ofstream(Path, std::ios::binary) << Garbage;
    for (auto Mode : {TMachineDatabaseMode::mdmReadWrite, TMachineDatabaseMode::mdmReadOnly}) {
        try {
            TMachineDatabase Db(Mode, Path);
            FAIL() << "garbage opened as a database";
        } catch (const EMachineDatabaseError& E) {
            EXPECT_NE(std::string(E.what()).find(Path), std::string::npos) << E.what();
            EXPECT_NE(std::string(E.what()).find("damaged"), std::string::npos) << E.what();
        }
    }
    EXPECT_EQ(ReadWholeFile(Path), Garbage);
}

TEST_F(MachineDatabaseTest, ReadOnlyReadsButNeverWrites) {
    std::string Path = PathOf("machine.sqlite");
    EXPECT_THROW(TMachineDatabase(TMachineDatabaseMode::mdmReadOnly, Path), EMachineDatabaseError);
    EXPECT_FALSE(fs::exists(Path));
    {
        TMachineDatabase Db(TMachineDatabaseMode::mdmReadWrite, Path);
        Db.EnsureSchema("counter", 1, CreateCounter);
    }
    TMachineDatabase Db(TMachineDatabaseMode::mdmReadOnly, Path);
    EXPECT_TRUE(Db.ReadOnly());
    EXPECT_TRUE(Db.EnsureSchema("counter", 1, CreateCounter));
    EXPECT_FALSE(Db.EnsureSchema("absent", 1, CreateCounter));
    TSqlStatement Read(Db.Handle(), "SELECT value FROM counter");
    ASSERT_TRUE(Read.Step());
    EXPECT_EQ(Read.ColumnInt64(0), 0);
    try {
        Db.WriteTransaction([&] { Db.Execute("UPDATE counter SET value = 1"); });
        FAIL() << "a read-only database accepted a write";
    } catch (const EMachineDatabaseError& E) {
        EXPECT_EQ(E.SqliteCode() & 0xFF, SQLITE_READONLY) << E.what();
    }
}

// Several processes increment one counter, each increment a read followed by a write in one
// transaction: with BEGIN IMMEDIATE and the busy timeout, none is lost and none fails as busy.
TEST_F(MachineDatabaseTest, ConcurrentWritersLoseNoUpdate) {
    // The writers also make the new file and its tables at the same moment.
    std::string Path = PathOf("machine.sqlite");
    constexpr int Writers = 4;
    constexpr int Increments = 50;
    const std::vector<int> Codes = q7n::testing::RunInForkedProcesses(Writers, [&](int) {
        TMachineDatabase Db(TMachineDatabaseMode::mdmReadWrite, Path);
        Db.EnsureSchema("counter", 1, CreateCounter);
        for (int I = 0; I < Increments; ++I)
            Db.WriteTransaction([&] {
                TSqlStatement Read(Db.Handle(), "SELECT value FROM counter");
                Read.Step();
                std::int64_t Value = Read.ColumnInt64(0);
                TSqlStatement Write(Db.Handle(), "UPDATE counter SET value = ?1");
                Write.Bind(1, Value + 1).Run();
            });
        return 0;
    });
    EXPECT_EQ(Codes, std::vector<int>(Writers, 0));
    TMachineDatabase Db(TMachineDatabaseMode::mdmReadOnly, Path);
    TSqlStatement Read(Db.Handle(), "SELECT value FROM counter");
    ASSERT_TRUE(Read.Step());
    EXPECT_EQ(Read.ColumnInt64(0), Writers * Increments);
}
