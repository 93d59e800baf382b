// The POSIX stand-in's own promises: the rights of a user who cannot write the machine database,
// several processes sharing it, and states and exit codes that always come from the real process.
#include "platform/FileSystem.h"
#include "platform/posix/MachineDatabase.h"
#include "platform/testsupport/ServiceControlCalls.h"

#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace q7n::platform;
using namespace q7n::testing;

TEST(PosixServiceControlManager, AUserWhoCannotWriteMayLookButNotChange) {
    TTestServiceManager Admin;
    TScmHandleOwner AdminManager = OpenManager(*Admin);
    std::string Name = UniqueServiceName();
    Register(*Admin, AdminManager.Get(), Name, "\"" + FixtureServicePath() + "\"");

    TPosixServiceControlManager User(Admin.DatabasePath(), TMachineDatabaseMode::mdmReadOnly);
    EXPECT_EQ(Code(User.OpenManager(ScManagerAllAccess)), ErrorAccessDenied);
    TScmHandleOwner UserManager = Expected(User.OpenManager(ScManagerConnect));

    EXPECT_EQ(Code(User.Open(UserManager.Get(), Name, ServiceAllAccess)), ErrorAccessDenied);
    TScmHandleOwner Readable = Expected(User.Open(UserManager.Get(), Name, ServiceQueryStatus));
    EXPECT_EQ(StateOf(User, Readable), ServiceStopped);
    EXPECT_EQ(Code(User.Start(Readable.Get())), ErrorAccessDenied);
    EXPECT_EQ(Code(User.Delete(Readable.Get())), ErrorAccessDenied);
}

TEST(PosixServiceControlManager, ANewMachineDatabaseReadOnlyKnowsNoServices) {
    TTestServiceManager Admin;
    { TScmHandleOwner Created = OpenManager(*Admin); } // makes the file, without tables of ours
    TMachineDatabase(TMachineDatabaseMode::mdmReadWrite, Admin.DatabasePath())
        .Execute("DROP TABLE services; DELETE FROM q7n_schema");

    TPosixServiceControlManager User(Admin.DatabasePath(), TMachineDatabaseMode::mdmReadOnly);
    TScmHandleOwner Manager = Expected(User.OpenManager(ScManagerConnect));
    EXPECT_EQ(Code(User.Open(Manager.Get(), "Q7NSrv", ServiceQueryStatus)),
              ErrorServiceDoesNotExist);
}

TEST(PosixServiceControlManager, ADamagedDatabaseIsAnErrorAndIsLeftAlone) {
    TTestServiceManager Backend;
    const std::string Damaged = "not a database, but the user's file all the same";
    std::ofstream(Backend.DatabasePath(), std::ios::binary) << Damaged;
    EXPECT_EQ(Code(Backend->OpenManager(ScManagerAllAccess)), ErrorDatabaseDoesNotExist);
    EXPECT_EQ(ReadWholeFile(Backend.DatabasePath()), Damaged);
}

TEST(PosixServiceControlManager, EveryProcessSeesTheSameServicesAndTheirStates) {
    TTestServiceManager First;
    TScmHandleOwner FirstManager = OpenManager(*First);
    std::string Name = UniqueServiceName();
    std::string Ready = First.Folder().File("ready");
    TScmHandleOwner Created = Register(*First, FirstManager.Get(), Name, FixtureCommandLine(Ready));
    ASSERT_EQ(Code(First->Start(Created.Get())), ErrorSuccess);
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(Ready); }));

    TPosixServiceControlManager Second(First.DatabasePath());
    TScmHandleOwner SecondManager = OpenManager(Second);
    TScmHandleOwner Seen = Expected(Second.Open(SecondManager.Get(), Name, ServiceAllAccess));
    EXPECT_EQ(StateOf(Second, Seen), ServiceRunning);
    EXPECT_EQ(Code(Second.Start(Seen.Get())), ErrorServiceAlreadyRunning);
    ASSERT_EQ(Code(Second.ControlStop(Seen.Get())), ErrorSuccess);
    EXPECT_EQ(StateOf(*First, Created), ServiceStopPending);
    EXPECT_TRUE(WaitFor([&] { return StateOf(*First, Created) == ServiceStopped; }));
}

TEST(PosixServiceControlManager, StatesComeFromTheRealProcess) {
    TTestServiceManager Backend;
    TScmHandleOwner Manager = OpenManager(*Backend);

    // A service that ends by itself is stopped, with no stop asked.
    TScmHandleOwner Failing = Register(*Backend, Manager.Get(), UniqueServiceName(),
                                       "\"" + FixtureServicePath() + "\" --exit-after 100");
    ASSERT_EQ(Code(Backend->Start(Failing.Get())), ErrorSuccess);
    EXPECT_TRUE(WaitFor([&] { return StateOf(*Backend, Failing) == ServiceStopped; }));
    EXPECT_EQ(Code(Backend->ControlStop(Failing.Get())), ErrorServiceNotActive);

    // A record whose process id now belongs to another process (this test's own here, with
    // another start time) is not taken for the service.
    std::string Name = UniqueServiceName();
    std::string Ready = Backend.Folder().File("ready");
    TScmHandleOwner Reused = Register(*Backend, Manager.Get(), Name, FixtureCommandLine(Ready));
    TMachineDatabase(TMachineDatabaseMode::mdmReadWrite, Backend.DatabasePath())
        .Execute("UPDATE services SET pid = " + std::to_string(::getpid()) +
                 ", start_time = 1 WHERE name = '" + Name + "'");
    EXPECT_EQ(StateOf(*Backend, Reused), ServiceStopped);
    EXPECT_EQ(Code(Backend->ControlStop(Reused.Get())), ErrorServiceNotActive);
    ASSERT_EQ(Code(Backend->Start(Reused.Get())), ErrorSuccess);
    EXPECT_EQ(StateOf(*Backend, Reused), ServiceRunning);
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(Ready); }));
    EXPECT_EQ(Code(Backend->ControlStop(Reused.Get())), ErrorSuccess);
    EXPECT_EQ(Code(Backend->ControlStop(Reused.Get())), ErrorServiceCannotAcceptCtrl);
    EXPECT_TRUE(WaitFor([&] { return StateOf(*Backend, Reused) == ServiceStopped; }));
}

TEST(PosixServiceControlManager, TheCommandLineReachesNoShell) {
    TTestServiceManager Backend;
    TScmHandleOwner Manager = OpenManager(*Backend);
    std::string Marker = Backend.Folder().File("marker");
    TScmHandleOwner Service =
        Register(*Backend, Manager.Get(), UniqueServiceName(),
                 "\"" + FixtureServicePath() + "\" ; touch " + Marker + " $(touch " + Marker + ")");
    ASSERT_EQ(Code(Backend->Start(Service.Get())), ErrorSuccess);
    EXPECT_EQ(StateOf(*Backend, Service), ServiceRunning);
    EXPECT_EQ(Code(Backend->ControlStop(Service.Get())), ErrorSuccess);
    EXPECT_TRUE(WaitFor([&] { return StateOf(*Backend, Service) == ServiceStopped; }));
    EXPECT_FALSE(std::filesystem::exists(Marker));
}

TEST(PosixServiceControlManager, ASignalEndsARunCleanlyOnlyWhenItIsTheStopAskedFor) {
    TTestServiceManager Backend;
    TScmHandleOwner Manager = OpenManager(*Backend);
    // sleep has no handler of its own: SIGTERM ends it by the signal.
    std::string Name = UniqueServiceName();
    TScmHandleOwner Service = Register(*Backend, Manager.Get(), Name, "/bin/sleep 60");
    struct TCase {
        int Signal; // sent to the process; 0: the stop control
        std::uint32_t Win32ExitCode;
    };
    for (TCase Case : {TCase{SIGKILL, ErrorProcessAborted}, TCase{0, ErrorSuccess},
                       TCase{SIGTERM, ErrorProcessAborted}}) {
        SCOPED_TRACE(Case.Signal);
        ASSERT_EQ(Code(Backend->Start(Service.Get())), ErrorSuccess);
        TServiceStatus Status = Expected(Backend->QueryStatus(Service.Get()));
        EXPECT_EQ(Status.CurrentState, ServiceRunning);
        EXPECT_EQ(Status.Win32ExitCode, ErrorSuccess) << "a new run clears the last codes";
        // The process id is the program's own: the signal ends the service.
        if (Case.Signal)
            ASSERT_EQ(::kill(static_cast<pid_t>(Status.ProcessId), Case.Signal), 0);
        else
            ASSERT_EQ(Code(Backend->ControlStop(Service.Get())), ErrorSuccess);
        ASSERT_TRUE(WaitFor([&] { return StateOf(*Backend, Service) == ServiceStopped; }));

        // Another process's manager reads the same.
        TPosixServiceControlManager Other(Backend.DatabasePath());
        TScmHandleOwner OtherManager = OpenManager(Other);
        TScmHandleOwner Seen = Expected(Other.Open(OtherManager.Get(), Name, ServiceQueryStatus));
        Status = Expected(Other.QueryStatus(Seen.Get()));
        EXPECT_EQ(Status.CurrentState, ServiceStopped);
        EXPECT_EQ(CodesOf(Status), (TStatusCodes{0, Case.Win32ExitCode, 0}));
    }
}
