// What the service manager layer promises on every host, run against the Windows Service Control
// Manager (under Wine in the tests) and against the POSIX stand-in alike. A user without rights
// is tried on the stand-in only: Wine gives every user full access to its manager.
#include "platform/testsupport/LocalTcp.h"
#include "platform/testsupport/ServiceControlCalls.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <vector>

using namespace q7n::platform;
using q7n::IgnoreStatus;
using q7n::TStatusOr;
using namespace q7n::testing;
namespace fs = std::filesystem;

namespace {

class ServiceControlConformance : public ::testing::Test {
protected:
    void SetUp() override {
        FHandle = OpenManager(*FManager);
        ASSERT_TRUE(FHandle);
    }

    void TearDown() override {
        // Whatever a test left registered goes, running or not.
        for (const std::string& Name : FRegistered) {
            TScmHandleOwner Service = OpenService(Name);
            if (Service) {
                IgnoreStatus(FManager->ControlStop(Service.Get())); // it may not run
                IgnoreStatus(FManager->Delete(Service.Get()));
            }
        }
    }

    std::uint32_t Install(const std::string& Name, const std::string& CommandLine,
                          TScmHandleOwner* Created = nullptr) {
        TStatusOr<TScmHandleOwner> Service =
            FManager->Register(FHandle.Get(), RegistrationOf(Name, CommandLine));
        if (Service.Ok()) {
            EXPECT_TRUE(*Service);
            FRegistered.push_back(Name);
            if (Created)
                *Created = std::move(*Service);
        }
        return Code(Service);
    }

    std::string InstallFixture() {
        std::string Name = UniqueServiceName();
        EXPECT_EQ(Install(Name, FixtureCommandLine(ReadyFile())), ErrorSuccess);
        return Name;
    }

    // Registers CommandLine under a name of its own and opens the service.
    TScmHandleOwner InstallAndOpen(const std::string& CommandLine) {
        std::string Name = UniqueServiceName();
        EXPECT_EQ(Install(Name, CommandLine), ErrorSuccess);
        return OpenService(Name);
    }

    // A copy of the fixture program in Folder, named Stem with the fixture's extension.
    fs::path CopyOfFixture(const fs::path& Folder, const std::string& Stem) {
        fs::create_directories(Folder);
        fs::path Program = Folder / (Stem + fs::path(FixtureServicePath()).extension().string());
        fs::copy_file(fs::u8path(FixtureServicePath()), Program);
        return Program;
    }

    std::string ReadyFile() const { return FManager.Folder().File("ready.txt"); }

    // Running, and far enough in its own start to see a stop coming.
    bool ReachesRunning(const TScmHandleOwner& Service) {
        return Reaches(Service, ServiceRunning) && WaitFor([&] { return fs::exists(ReadyFile()); });
    }

    TScmHandleOwner OpenService(const std::string& Name, std::uint32_t* Error = nullptr) {
        TStatusOr<TScmHandleOwner> Service = FManager->Open(FHandle.Get(), Name, ServiceAllAccess);
        if (Error)
            *Error = Code(Service);
        return Service.Ok() ? std::move(*Service) : TScmHandleOwner();
    }

    bool Reaches(const TScmHandleOwner& Service, std::uint32_t State) {
        return WaitFor([&] { return StateOf(*FManager, Service) == State; });
    }

    TServiceStatus StatusOf(const TScmHandleOwner& Service) {
        return Expected(FManager->QueryStatus(Service.Get()));
    }

    // Writes the ports file in the test's folder, with mappings of these local ports.
    void WritePortsFile(const std::vector<int>& LocalPorts) {
        std::string Items;
        for (int Port : LocalPorts)
            Items += "<Item><LocalPort>" + std::to_string(Port) + "</LocalPort></Item>";
        std::ofstream(fs::u8path(FManager.Folder().File("Q7NPorts.xml")), std::ios::binary)
            << "<config Application=\"\" Version=\"1\"><Q7NPorts>" << Items
            << "</Q7NPorts></config>";
    }

    TTestServiceManager FManager;
    TScmHandleOwner FHandle;
    std::vector<std::string> FRegistered;
};

} // namespace

TEST_F(ServiceControlConformance, RegistersOnceAndKnowsOnlyWhatIsRegistered) {
    std::string Name = UniqueServiceName();
    std::uint32_t Error = 0;
    EXPECT_FALSE(OpenService(Name, &Error));
    EXPECT_EQ(Error, ErrorServiceDoesNotExist);

    ASSERT_EQ(Install(Name, "\"" + FixtureServicePath() + "\""), ErrorSuccess);
    EXPECT_EQ(Install(Name, "\"" + FixtureServicePath() + "\""), ErrorServiceExists);

    TScmHandleOwner Service = OpenService(Name, &Error);
    ASSERT_TRUE(Service);
    EXPECT_EQ(StateOf(*FManager, Service), ServiceStopped);
}

TEST_F(ServiceControlConformance, GivesBackTheCommandLineAsRegistered) {
    // Blanks, quotes, Cyrillic and a length well past a first guess at the buffer.
    const std::string Unquoted = "C:\\Службы Q7N\\Install\\Q7NService.exe";
    const std::string WithArguments =
        "\"" + Unquoted + "\" --record \"" + std::string(1500, 'x') + "\" \"два слова\"";
    for (const std::string& CommandLine : {Unquoted, WithArguments}) {
        std::string Name = UniqueServiceName();
        TScmHandleOwner Created;
        ASSERT_EQ(Install(Name, CommandLine, &Created), ErrorSuccess);
        EXPECT_EQ(Expected(FManager->QueryCommandLine(Created.Get())), CommandLine);

        // Reading the configuration needs no more than the rights to read it.
        TScmHandleOwner Reader = Expected(FManager->OpenManager(ScManagerConnect));
        TScmHandleOwner Service = Expected(FManager->Open(Reader.Get(), Name, ServiceQueryConfig));
        EXPECT_EQ(Expected(FManager->QueryCommandLine(Service.Get())), CommandLine);
    }
}

TEST_F(ServiceControlConformance, StartsRunsAndStopsThroughStopPending) {
    TScmHandleOwner Service = OpenService(InstallFixture());
    ASSERT_TRUE(Service);
    EXPECT_EQ(Code(FManager->ControlStop(Service.Get())), ErrorServiceNotActive);

    ASSERT_EQ(Code(FManager->Start(Service.Get())), ErrorSuccess);
    EXPECT_EQ(Code(FManager->Start(Service.Get())), ErrorServiceAlreadyRunning);
    ASSERT_TRUE(ReachesRunning(Service));

    ASSERT_EQ(Code(FManager->ControlStop(Service.Get())), ErrorSuccess);
    // The fixture takes 300 ms to stop: the state right after the control is stop pending.
    EXPECT_EQ(StateOf(*FManager, Service), ServiceStopPending);
    ASSERT_TRUE(Reaches(Service, ServiceStopped));
    EXPECT_EQ(Code(FManager->ControlStop(Service.Get())), ErrorServiceNotActive);

    // A stopped service starts again.
    fs::remove(ReadyFile());
    ASSERT_EQ(Code(FManager->Start(Service.Get())), ErrorSuccess);
    EXPECT_TRUE(ReachesRunning(Service));
}

TEST_F(ServiceControlConformance, DeletesARunningServiceOnceItHasStopped) {
    std::string Name = InstallFixture();
    {
        TScmHandleOwner Service = OpenService(Name);
        ASSERT_EQ(Code(FManager->Start(Service.Get())), ErrorSuccess);
        ASSERT_TRUE(ReachesRunning(Service));

        // Stop and delete at once, as an uninstall does; a second delete is refused.
        EXPECT_EQ(Code(FManager->ControlStop(Service.Get())), ErrorSuccess);
        EXPECT_EQ(Code(FManager->Delete(Service.Get())), ErrorSuccess);
        EXPECT_EQ(Code(FManager->Delete(Service.Get())), ErrorServiceMarkedForDelete);
        // While it is still held and stopping, it cannot be registered anew.
        EXPECT_EQ(Install(Name, "\"" + FixtureServicePath() + "\""), ErrorServiceMarkedForDelete);
        EXPECT_TRUE(Reaches(Service, ServiceStopped));
    }
    // Stopped and no longer held: it is gone.
    std::uint32_t Error = 0;
    EXPECT_TRUE(WaitFor([&] {
        OpenService(Name, &Error);
        return Error == ErrorServiceDoesNotExist;
    })) << "last error "
        << Error;
    ASSERT_EQ(Install(Name, "\"" + FixtureServicePath() + "\""), ErrorSuccess);
}

TEST_F(ServiceControlConformance, RunsAProgramWhosePathHoldsBlanksWithItsArguments) {
    fs::path Program = CopyOfFixture(FManager.Folder().Path() / "Program Files" / "Q7N Service",
                                     "fixture service");
    fs::path Record = FManager.Folder().Path() / "arguments.txt";

    TScmHandleOwner Service = InstallAndOpen("\"" + Program.string() + "\" --record \"" +
                                             Record.string() + "\" plain \"two words\"");
    ASSERT_EQ(Code(FManager->Start(Service.Get())), ErrorSuccess);
    ASSERT_TRUE(Reaches(Service, ServiceRunning));
    ASSERT_TRUE(WaitFor([&] { return fs::exists(Record); }));

    std::ifstream Recorded(Record);
    std::vector<std::string> Lines;
    for (std::string Line; std::getline(Recorded, Line);)
        Lines.push_back(Line);
    ASSERT_EQ(Lines.size(), 5u);
    EXPECT_EQ(Lines[2], Record.string());
    EXPECT_EQ(Lines[3], "plain");
    EXPECT_EQ(Lines[4], "two words");
}

TEST_F(ServiceControlConformance, AMissingProgramDoesNotStart) {
    fs::path Missing = FManager.Folder().Path() / "missing.exe";
    TScmHandleOwner Service = InstallAndOpen("\"" + Missing.string() + "\"");
    EXPECT_EQ(Code(FManager->Start(Service.Get())), ErrorFileNotFound);
    EXPECT_EQ(StateOf(*FManager, Service), ServiceStopped);
}

TEST_F(ServiceControlConformance, TheFixtureListensOnTheLocalPortsOfItsPortsFileWhileItRuns) {
    TLocalTcp Tcp;
    // A port that another program holds is skipped; the others still listen. Ports outside 1 to
    // 65535 and a port named twice do no harm.
    std::uint16_t Held = Tcp.Listen(0), Free = Tcp.FreePort();
    ASSERT_NE(Held, 0);
    ASSERT_NE(Free, 0);
    WritePortsFile({Held, Free, 0, 70000, Free});
    // The ports file is found where the service's is: in the folder above the program's.
    fs::path Program = CopyOfFixture(FManager.Folder().Path() / "Install", "Q7NService");
    TScmHandleOwner Service =
        InstallAndOpen("\"" + Program.string() + "\" --record \"" + ReadyFile() + "\"");
    ASSERT_EQ(Code(FManager->Start(Service.Get())), ErrorSuccess);
    ASSERT_TRUE(ReachesRunning(Service));
    EXPECT_TRUE(Tcp.Connects(Free));

    ASSERT_EQ(Code(FManager->ControlStop(Service.Get())), ErrorSuccess);
    ASSERT_TRUE(Reaches(Service, ServiceStopped));
    EXPECT_FALSE(Tcp.Connects(Free));
}

TEST_F(ServiceControlConformance, AServiceThatEndsWithACodeOfItsOwnShowsItOnceStopped) {
    // The fixture's own codes: a ports file that is missing, one that is not a ports file, and
    // the end that --exit-after brings.
    std::string Unreadable = FManager.Folder().File("unreadable.xml");
    std::ofstream(fs::u8path(Unreadable)) << "not xml";
    struct TCase {
        std::string Options;
        std::uint32_t Code;
    };
    for (const TCase& Case :
         {TCase{"--ports \"" + FManager.Folder().File("missing.xml") + "\"", 2},
          TCase{"--ports \"" + Unreadable + "\"", 13}, TCase{"--exit-after 100", 3}}) {
        SCOPED_TRACE(Case.Options);
        TScmHandleOwner Service =
            InstallAndOpen("\"" + FixtureServicePath() + "\" " + Case.Options);
        ASSERT_EQ(Code(FManager->Start(Service.Get())), ErrorSuccess);
        ASSERT_TRUE(Reaches(Service, ServiceStopped));
        EXPECT_EQ(CodesOf(StatusOf(Service)),
                  (TStatusCodes{0, ErrorServiceSpecificError, Case.Code}));
        // A stop that finds it stopped leaves them.
        EXPECT_EQ(Code(FManager->ControlStop(Service.Get())), ErrorServiceNotActive);
        EXPECT_EQ(StatusOf(Service).ServiceSpecificExitCode, Case.Code);
    }
}

TEST_F(ServiceControlConformance, ARunShowsItsOwnProcessAndClearsTheCodesOfTheLastOne) {
    std::string Ports = FManager.Folder().File("Q7NPorts.xml");
    std::string Pid = FManager.Folder().File("pid.txt");
    TScmHandleOwner Service = InstallAndOpen(FixtureCommandLine(ReadyFile()) + " --pid-file \"" +
                                             Pid + "\" --ports \"" + Ports + "\"");
    // No ports file yet: the first run ends at its start.
    ASSERT_EQ(Code(FManager->Start(Service.Get())), ErrorSuccess);
    ASSERT_TRUE(Reaches(Service, ServiceStopped));
    ASSERT_EQ(StatusOf(Service).ServiceSpecificExitCode, 2u);

    WritePortsFile({});
    ASSERT_EQ(Code(FManager->Start(Service.Get())), ErrorSuccess);
    ASSERT_TRUE(ReachesRunning(Service));
    TStatusCodes Running = CodesOf(StatusOf(Service));
    std::ifstream PidText(fs::u8path(Pid));
    std::uint32_t ServicePid = 0;
    PidText >> ServicePid;
    EXPECT_NE(ServicePid, 0u);
    EXPECT_EQ(Running, (TStatusCodes{ServicePid, ErrorSuccess, 0}));

    ASSERT_EQ(Code(FManager->ControlStop(Service.Get())), ErrorSuccess);
    ASSERT_TRUE(Reaches(Service, ServiceStopped));
    EXPECT_EQ(CodesOf(StatusOf(Service)), (TStatusCodes{0, ErrorSuccess, 0}));
}
