// The doctor against real processes on either host: a listener of another program, a
// connection, the serial ports the registry lists, and the fixture service as it runs and ends.
#include "service/MachineDoctor.h"

#include "base/testsupport/StatusCode.h"
#include "platform/RegistryData.h"
#include "platform/RegistryKey.h"
#include "platform/SystemErrorText.h"
#include "platform/testsupport/FileHolderProcess.h"
#include "platform/testsupport/LocalTcp.h"
#include "platform/testsupport/RunningUnderWine.h"
#include "platform/testsupport/ServiceControlCalls.h"
#include "platform/testsupport/TestRegistry.h"
#include "ports/Q7NDocument.h"
#include "service/ServicePaths.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace q7n;
using namespace q7n::platform;
using namespace q7n::testing;

namespace {

using TFound = std::vector<std::pair<int, TMachineFindingKind>>;

TFound Found(const TMachineReport& Report) {
    TFound Kinds;
    for (const TMachineFinding& Finding : Report.Findings)
        Kinds.emplace_back(Finding.Row, Finding.Kind);
    return Kinds;
}

std::unique_ptr<TQ7NPorts> Mappings(std::initializer_list<std::pair<int, int>> LocalAndCOM) {
    auto Ports = TXMLClass::Create<TQ7NPorts>(nullptr);
    for (auto [LocalPort, COMPort] : LocalAndCOM) {
        TQ7NPort* Port = Ports->Add();
        Port->SetLocalPort(LocalPort);
        Port->SetCOMPort(COMPort);
    }
    return Ports;
}

// A port that nobody listens on now: one a listener had a moment ago.
int FreePort() {
    return TLocalTcp().FreePort();
}

struct MachineDoctor : ::testing::Test {
    TTemporaryFolder Folder;
    TTestServiceManager Services;
    TTestRegistry Registry{"Software\\Q7NTest\\Doctor"};
    std::unique_ptr<INetworkState> Network = CreateHostNetworkState();
    std::string Name = UniqueServiceName();
    TMachineDoctor Doctor{Name, ServiceExecutablePath(Folder.Path().string()), *Services,
                          Registry.Backend, *Network};

    // A service a test registered goes, whatever the test left it doing.
    void TearDown() override {
        TStatusOr<TScmHandleOwner> Manager = Services->OpenManager(ScManagerAllAccess);
        if (!Manager.Ok())
            return;
        TStatusOr<TScmHandleOwner> Service = Services->Open(Manager->Get(), Name, ServiceAllAccess);
        if (!Service.Ok())
            return;
        IgnoreStatus(Services->ControlStop(Service->Get())); // it may not run
        IgnoreStatus(Services->Delete(Service->Get()));
    }
};

} // namespace

TEST_F(MachineDoctor, TellsWhoHoldsAMappedPortAndWhichCOMPortsAreMissing) {
#ifndef _WIN32
    // Where Windows' serial drivers list their ports; the Wine prefix of the tests has COM9.
    TRegKey Serial(Registry.Backend);
    ASSERT_EQ(Code(Serial.Create(TRegRoot::rrLocalMachine, "HARDWARE\\DEVICEMAP\\SERIALCOMM",
                                 KeyAllAccess)),
              ErrorSuccess);
    ASSERT_EQ(Code(Serial.WriteValue("\\Device\\Serial8", RegSz, RegTextData("COM9"))),
              ErrorSuccess);
#endif
    TFileHolderProcess Listener("listen", "0", -1);
    TLocalTcp Connection;
    const int ConnectionPort = Connection.Connect(std::uint16_t(Listener.Port()));
    auto Ports = Mappings({{Listener.Port(), 9}, {FreePort(), 200}});

    TMachineReport Report = Doctor.Examine(*Ports);
    EXPECT_EQ(Found(Report),
              (TFound{{0, mfProgramMissing}, {1, mfLocalPortTaken}, {2, mfComPortMissing}}));
    ASSERT_EQ(Report.Findings.size(), 3u);
    // Wine 8 names no owner of a socket that only listens: wineserver holds it.
    const std::string& Owner = Report.Findings[1].Other;
    if (!RunningUnderWine() || Owner != UnnamedProcess) {
        EXPECT_EQ(Owner.rfind("process " + std::to_string(Listener.ProcessId()) + " (", 0), 0u)
            << Owner;
        EXPECT_NE(Owner.find("q7n_file_holder"), std::string::npos) << Owner;
    }
    EXPECT_EQ(Report.Findings[2].Text, "COM200 is not present on this machine");
    ASSERT_EQ(Report.Connections.size(), 1u);
    EXPECT_EQ(Report.Connections[0].LocalPort, Listener.Port());
    EXPECT_EQ(Report.Connections[0].Peers,
              std::vector<std::string>{"127.0.0.1:" + std::to_string(ConnectionPort)});
    EXPECT_TRUE(Report.Unseen.empty());

    // The editors' marks: the rows' findings alone, and none once the other program is gone.
    Listener.Kill();
    std::vector<TMachineFinding> Rows = Doctor.CheckRows(*Ports);
    ASSERT_EQ(Rows.size(), 1u);
    EXPECT_EQ(Rows[0].Kind, mfComPortMissing);
}

TEST_F(MachineDoctor, TellsWhatTheServiceRunsWhereItListensAndHowItEnded) {
    const int Served = FreePort(), NotServed = FreePort();
    const std::string PortsFile = Folder.File("Q7NPorts.xml");
    {
        TQ7NDocument Document;
        Document.Options()->Q7NPorts()->Add()->SetLocalPort(Served);
        ASSERT_TRUE(Document.Save(PortsFile));
    }
    TScmHandleOwner Manager = OpenManager(*Services);
    const std::string CommandLine =
        "\"" + FixtureServicePath() + "\" --ports \"" + PortsFile + "\" --stop-delay 0";
    TScmHandleOwner Service = Register(*Services, Manager.Get(), Name, CommandLine);
    auto Stopped = [&] {
        return StateOf(*Services, Service) == ServiceStopped;
    };

    // Registered from the build's folder, not this one's: the file edited here is not its own.
    // Once it listens on its mapping, only the mapping it does not have is not listened on.
    auto Ports = Mappings({{Served, 1}, {NotServed, 1}});
    ASSERT_EQ(Code(Services->Start(Service.Get())), ErrorSuccess);
    TMachineReport Report;
    const TFound Running{{0, mfProgramMissing}, {0, mfRegisteredElsewhere}, {2, mfNotListening}};
    EXPECT_TRUE(WaitFor([&] {
        Report = Doctor.Examine(*Ports);
        std::erase_if(Report.Findings, [](const TMachineFinding& Finding) {
            return Finding.Kind == mfComPortMissing; // COM1 may be on this machine or not
        });
        return Found(Report) == Running;
    }));
    EXPECT_EQ(Report.Findings.at(1).Other, CommandLine);

    // A service that cannot read its ports file ends at its start, with a code of its own.
    ASSERT_EQ(Code(Services->ControlStop(Service.Get())), ErrorSuccess);
    ASSERT_TRUE(WaitFor(Stopped));
    std::ofstream(PortsFile, std::ios::trunc) << "not a ports file";
    ASSERT_EQ(Code(Services->Start(Service.Get())), ErrorSuccess);
    ASSERT_TRUE(WaitFor(Stopped));
    Report = Doctor.Examine(*Ports);
    ASSERT_EQ(Report.Findings.at(2).Kind, mfStoppedWithError);
    EXPECT_EQ(Report.Findings[2].Text, "the service stopped with error 1066 (" +
                                           SystemErrorText(1066) + "), its own code 13");
}
