// The two stand-ins over one machine database behave alike when it is damaged or when the user
// may not write it.
#include "base/testsupport/StatusCode.h"
#include "base/testsupport/TemporaryFolder.h"
#include "platform/RegistryData.h"
#include "platform/RegistryKey.h"
#include "platform/ScmHandle.h"
#include "platform/posix/RegistryPosix.h"
#include "platform/posix/ServiceControlManagerPosix.h"
#include "platform/testsupport/ServiceControlCalls.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace q7n::platform;
using q7n::TStatusOr;
using q7n::testing::Code;
namespace fs = std::filesystem;

namespace {

constexpr TRegRoot Hklm = TRegRoot::rrLocalMachine;
using Codes = std::vector<std::uint32_t>;

// Runs Body as a user who may not write the file, in a folder that everyone may write (as a
// shared state folder is): as "nobody" in a child process when this one is root, whom no file
// mode stops; otherwise here, with the file's write mode taken away for the time.
Codes WithoutWriteRights(const q7n::testing::TTemporaryFolder& Folder, const std::string& File,
                         const std::function<Codes()>& Body) {
    fs::permissions(File, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(Folder.Path(), fs::perms::all | fs::perms::sticky_bit);
    Codes Result;
    if (::geteuid() != 0) {
        Result = Body();
    } else {
        int Pipe[2];
        EXPECT_EQ(::pipe(Pipe), 0);
        pid_t Child = ::fork();
        if (Child == 0) {
            ::close(Pipe[0]);
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(2);
            Codes Seen = Body();
            ssize_t Size = static_cast<ssize_t>(Seen.size() * sizeof(std::uint32_t));
            ::_exit(::write(Pipe[1], Seen.data(), Seen.size() * sizeof(std::uint32_t)) == Size ? 0
                                                                                               : 3);
        }
        ::close(Pipe[1]);
        int Status = 0;
        if (!q7n::testing::WaitFor([&] { return ::waitpid(Child, &Status, WNOHANG) != 0; }, 30)) {
            ::kill(Child, SIGKILL);
            ::waitpid(Child, &Status, 0);
        }
        EXPECT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0);
        std::uint32_t Code = 0;
        while (::read(Pipe[0], &Code, sizeof Code) == sizeof Code)
            Result.push_back(Code);
        ::close(Pipe[0]);
    }
    fs::permissions(Folder.Path(), fs::perms::owner_all);
    fs::permissions(File, fs::perms::owner_read | fs::perms::owner_write);
    return Result;
}

} // namespace

TEST(MachineStore, BothStandInsLookButDoNotChangeADatabaseTheUserCannotWrite) {
    q7n::testing::TTemporaryFolder Folder;
    std::string Path = Folder.File("machine.sqlite");
    std::string Service = "Q7NStoreTest";
    {
        TPosixRegistry Registry(TMachineDatabaseMode::mdmReadWrite, Path);
        TRegKey Key(Registry);
        ASSERT_EQ(Code(Key.Create(Hklm, "Software\\TAVO", KeyAllAccess)), ErrorSuccess);
        ASSERT_EQ(Code(Key.WriteValue("v", RegSz, RegTextData("stored"))), ErrorSuccess);
        TPosixServiceControlManager Manager(Path);
        TScmHandleOwner Connection = q7n::testing::OpenManager(Manager);
        q7n::testing::Register(Manager, Connection.Get(), Service, "/bin/true");
    }

    // Both are asked for everything, as the configurator asks; neither is told it may only read.
    Codes Seen = WithoutWriteRights(Folder, Path, [&] {
        Codes Result;
        TPosixRegistry Registry(TMachineDatabaseMode::mdmReadWrite, Path);
        TRegKey Key(Registry);
        Result.push_back(Code(Key.Open(Hklm, "Software\\TAVO", KeyRead)));
        q7n::TStatusOr<TRegValue> Value = Key.ReadValue("v");
        Result.push_back(Code(Value));
        Result.push_back(Value.Ok() && RegDataText(Value->Data) == "stored");
        Result.push_back(Code(Key.Create(Hklm, "Software\\TAVO", KeyAllAccess)));

        TPosixServiceControlManager Manager(Path);
        Result.push_back(Code(Manager.OpenManager(ScManagerAllAccess)));
        TStatusOr<TScmHandleOwner> Connection = Manager.OpenManager(ScManagerConnect);
        Result.push_back(Code(Connection));
        if (!Connection.Ok())
            return Result;
        Result.push_back(Code(Manager.Open(Connection->Get(), Service, ServiceAllAccess)));
        TStatusOr<TScmHandleOwner> Opened =
            Manager.Open(Connection->Get(), Service, ServiceQueryStatus);
        Result.push_back(Code(Opened));
        if (!Opened.Ok())
            return Result;
        TStatusOr<std::uint32_t> State = Manager.QueryState(Opened->Get());
        Result.push_back(Code(State));
        Result.push_back(State.ValueOr(0));
        return Result;
    });
    EXPECT_EQ(Seen,
              (Codes{ErrorSuccess, ErrorSuccess, 1, ErrorAccessDenied, ErrorAccessDenied,
                     ErrorSuccess, ErrorAccessDenied, ErrorSuccess, ErrorSuccess, ServiceStopped}));
}

TEST(MachineStore, BothStandInsNameADamagedDatabaseAndTakeUpAFreshOneInItsPlace) {
    q7n::testing::TTemporaryFolder Folder;
    std::string Path = Folder.File("machine.sqlite");
    std::ofstream(Path, std::ios::binary) << std::string(4096, 'x');
    TPosixRegistry Registry(TMachineDatabaseMode::mdmReadWrite, Path);
    TPosixServiceControlManager Manager(Path);
    TRegKey Key(Registry);
    EXPECT_EQ(Code(Manager.OpenManager(ScManagerAllAccess)), ErrorDatabaseDoesNotExist);
    EXPECT_NE(Manager.LastErrorText().find("damaged"), std::string::npos);
    EXPECT_EQ(Code(Key.Create(Hklm, "Software", KeyAllAccess)), ErrorRegistryCorrupt);

    // Once the user has moved the file away, both start afresh.
    fs::rename(Path, Folder.File("damaged.sqlite"));
    EXPECT_EQ(Code(Key.Create(Hklm, "Software", KeyAllAccess)), ErrorSuccess);
    EXPECT_EQ(Code(Manager.OpenManager(ScManagerAllAccess)), ErrorSuccess);
    EXPECT_TRUE(Manager.LastErrorText().empty());
}
