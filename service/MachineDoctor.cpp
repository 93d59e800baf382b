#include "service/MachineDoctor.h"

#include "base/TextCompare.h"
#include "platform/CommandLine.h"
#include "platform/RegistryData.h"
#include "platform/RegistryKey.h"
#include "platform/ScmHandle.h"
#include "platform/SystemErrorText.h"
#include "service/ServicePaths.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <system_error>

namespace q7n {

using namespace platform;

namespace {

// Where Windows' serial drivers list the ports they made: one value per port, its data "COMn".
constexpr const char* SerialPortsKey = "HARDWARE\\DEVICEMAP\\SERIALCOMM";

struct TServiceLook {
    bool Installed = false;
    TServiceStatus Status;
    std::string CommandLine;
};

// What the manager says of the service; nothing when it is not installed.
TServiceLook LookAtService(IServiceControlManager& Manager, const std::string& Name,
                           std::vector<std::string>& Unseen) {
    TServiceLook Look;
    TScmHandle Handle = 0;
    std::uint32_t Error = Manager.OpenManager(ScManagerConnect, Handle);
    TScmHandleOwner Connection(Handle, Manager);
    TScmHandle ServiceHandle = 0;
    if (Error == ErrorSuccess)
        Error = Manager.Open(Connection.Get(), Name, ServiceQueryStatus | ServiceQueryConfig,
                             ServiceHandle);
    TScmHandleOwner Service(ServiceHandle, Manager);
    if (Error == ErrorSuccess)
        Error = Manager.QueryStatus(Service.Get(), Look.Status);
    if (Error == ErrorSuccess)
        Error = Manager.QueryCommandLine(Service.Get(), Look.CommandLine);
    if (Error == ErrorSuccess)
        Look.Installed = true;
    else if (Error != ErrorServiceDoesNotExist)
        Unseen.push_back("the service " + Name + ": " + SystemErrorText(Error));
    return Look;
}

// The COM port numbers that the serial drivers registered. A machine without serial ports has
// no such key at all.
std::set<int> PresentComPorts(IRegistry& Registry, std::vector<std::string>& Unseen) {
    std::set<int> Present;
    TRegKey Key(Registry);
    TStatus Opened = Key.Open(TRegRoot::rrLocalMachine, SerialPortsKey, KeyRead);
    TStatusOr<std::vector<std::string>> Names =
        Opened.Ok() ? Key.ValueNames() : TStatusOr<std::vector<std::string>>(Opened);
    if (Names.Ok()) {
        for (const std::string& Name : *Names) {
            TStatusOr<TRegValue> Value = Key.ReadValue(Name);
            if (!Value.Ok() || !IsRegTextType(Value->Type))
                continue;
            const std::string Port = RegDataText(Value->Data);
            if (Port.size() > 3 && SameText(std::string_view(Port).substr(0, 3), "COM"))
                try {
                    std::size_t Used = 0;
                    const int Number = std::stoi(Port.substr(3), &Used);
                    if (Used == Port.size() - 3)
                        Present.insert(Number);
                } catch (const std::exception&) {
                    // Not a COM port of ours to name ("COM1X"): passed over.
                }
        }
    } else if (Names.Status().Code() != ErrorFileNotFound) {
        Unseen.push_back(std::string("the serial ports (HKLM\\") + SerialPortsKey +
                         "): " + Names.Status().Text());
    }
    return Present;
}

// The same program file: the same file where both exist, otherwise the same path (without
// regard to case on Windows).
bool SameProgram(const std::string& A, const std::string& B) {
    namespace fs = std::filesystem;
    std::error_code Error;
    if (fs::exists(A, Error) && fs::exists(B, Error))
        return fs::equivalent(A, B, Error);
    std::string Left = fs::path(A).lexically_normal().generic_string();
    std::string Right = fs::path(B).lexically_normal().generic_string();
#ifdef _WIN32
    return SameText(Left, Right);
#else
    return Left == Right;
#endif
}

std::string StoppedText(const TServiceStatus& Status) {
    std::string Text = "the service stopped with error " + std::to_string(Status.Win32ExitCode) +
                       " (" + SystemErrorText(Status.Win32ExitCode) + ")";
    if (Status.Win32ExitCode == ErrorServiceSpecificError)
        Text += ", its own code " + std::to_string(Status.ServiceSpecificExitCode);
    return Text;
}

std::string Peer(const TTcpSocket& Socket) {
    const bool IPv6 = Socket.RemoteAddress.find(':') != std::string::npos;
    return (IPv6 ? "[" + Socket.RemoteAddress + "]" : Socket.RemoteAddress) + ":" +
           std::to_string(Socket.RemotePort);
}

} // namespace

TMachineDoctor::TMachineDoctor(std::string Name, std::string ServiceProgram,
                               IServiceControlManager& Services, IRegistry& Registry,
                               INetworkState& Network)
    : FName(std::move(Name)), FServiceProgram(std::move(ServiceProgram)), FServices(Services),
      FRegistry(Registry), FNetwork(Network) {}

TMachineReport TMachineDoctor::Examine(const TQ7NPorts& Ports) {
    TMachineReport Report;
    auto Add = [&](int Row, TMachineFindingKind Kind, std::string Text, std::string Other = {}) {
        Report.Findings.push_back({Row, Kind, std::move(Text), std::move(Other)});
    };

    std::error_code Error;
    if (!std::filesystem::exists(FServiceProgram, Error))
        Add(0, mfProgramMissing, "the service's program is missing: " + FServiceProgram);
    const TServiceLook Service = LookAtService(FServices, FName, Report.Unseen);
    if (Service.Installed) {
        const std::vector<std::string> Words = SplitWindowsCommandLine(Service.CommandLine);
        if (Words.empty() || !SameProgram(Words.front(), FServiceProgram))
            Add(0, mfRegisteredElsewhere,
                "the service is registered with the program of another folder: " +
                    Service.CommandLine + " (not " + FServiceProgram + ")",
                Service.CommandLine);
        if (Service.Status.CurrentState == ServiceStopped && Service.Status.Win32ExitCode != 0)
            Add(0, mfStoppedWithError, StoppedText(Service.Status));
    }
    const bool Running = Service.Installed && Service.Status.CurrentState == ServiceRunning;
    const std::uint32_t ServiceProcess = Running ? Service.Status.ProcessId : 0;

    // Listeners and connections by local port, read once for the whole list.
    bool SocketsSeen = true;
    std::multimap<std::uint16_t, std::uint32_t> Listeners;
    std::map<std::uint16_t, std::vector<std::string>> Peers;
    try {
        for (const TTcpSocket& Socket : FNetwork.TcpSockets()) {
            if (Socket.State == TTcpSocketState::tssListening)
                Listeners.emplace(Socket.LocalPort, Socket.ProcessId);
            else
                Peers[Socket.LocalPort].push_back(Peer(Socket));
        }
    } catch (const std::exception& Failure) {
        SocketsSeen = false;
        Report.Unseen.push_back(std::string("the TCP listeners: ") + Failure.what());
    }
    const std::set<int> ComPorts = PresentComPorts(FRegistry, Report.Unseen);

    std::map<std::uint32_t, std::string> Programs;
    auto ProcessText = [&](std::uint32_t Process) -> std::string {
        if (Process == 0)
            return UnnamedProcess;
        auto Found = Programs.find(Process);
        if (Found == Programs.end())
            Found = Programs.emplace(Process, FNetwork.ProgramOfProcess(Process)).first;
        return "process " + std::to_string(Process) +
               (Found->second.empty() ? std::string() : " (" + Found->second + ")");
    };

    std::set<std::uint16_t> MappedPorts;
    for (int Index = 0; Index < Ports.Count(); ++Index) {
        const TQ7NPort& Port = *Ports.Items(Index);
        const int Row = Index + 1;
        if (!ComPorts.count(Port.COMPort()))
            Add(Row, mfComPortMissing,
                "COM" + std::to_string(Port.COMPort()) + " is not present on this machine");
        if (!SocketsSeen || Port.LocalPort() < 1 || Port.LocalPort() > 65535)
            continue;
        const auto LocalPort = static_cast<std::uint16_t>(Port.LocalPort());
        MappedPorts.insert(LocalPort);
        const auto [First, Last] = Listeners.equal_range(LocalPort);
        std::set<std::uint32_t> Others;
        for (auto Listener = First; Listener != Last; ++Listener)
            // While the service runs, a listener that cannot be told apart from it is no finding.
            if (!ServiceProcess || (Listener->second && Listener->second != ServiceProcess))
                Others.insert(Listener->second);
        if (!Others.empty()) {
            const std::string Owner = ProcessText(*Others.begin());
            Add(Row, mfLocalPortTaken,
                "local port " + std::to_string(LocalPort) + " is taken by " + Owner, Owner);
        } else if (Running && First == Last) {
            Add(Row, mfNotListening,
                "the service runs, yet nothing listens on local port " + std::to_string(LocalPort));
        }
    }
    for (std::uint16_t LocalPort : MappedPorts)
        if (auto Found = Peers.find(LocalPort); Found != Peers.end())
            Report.Connections.push_back({LocalPort, Found->second});
    return Report;
}

std::vector<TMachineFinding> TMachineDoctor::CheckRows(const TQ7NPorts& Ports) {
    std::vector<TMachineFinding> Rows = Examine(Ports).Findings;
    std::erase_if(Rows, [](const TMachineFinding& Finding) { return Finding.Row == 0; });
    return Rows;
}

} // namespace q7n
