#include "service/MachineDoctor.h"

#include "base/TextCompare.h"
#include "platform/CommandLine.h"
#include "platform/FileSystem.h"
#include "platform/RegistryData.h"
#include "platform/RegistryKey.h"
#include "platform/ScmHandle.h"
#include "platform/SystemErrorText.h"
#include "service/ServicePaths.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <system_error>

namespace q7n {

using namespace platform;

namespace {

// Where Windows' serial drivers list the ports they made: one value per port, its data "COMn".
constexpr const char* SerialPortsKey = "HARDWARE\\DEVICEMAP\\SERIALCOMM";

struct TServiceLook {
    TServiceStatus Status;
    std::string CommandLine;
};

// What the manager says of the service, asked with the rights to look only.
TStatusOr<TServiceLook> LookAtService(IServiceControlManager& Manager, const std::string& Name) {
    TStatusOr<TScmHandleOwner> Connection = Manager.OpenManager(ScManagerConnect);
    if (!Connection.Ok())
        return Connection.Status();
    TStatusOr<TScmHandleOwner> Service =
        Manager.Open(Connection->Get(), Name, ServiceQueryStatus | ServiceQueryConfig);
    if (!Service.Ok())
        return Service.Status();
    TStatusOr<TServiceStatus> Status = Manager.QueryStatus(Service->Get());
    if (!Status.Ok())
        return Status.Status();
    TStatusOr<std::string> CommandLine = Manager.QueryCommandLine(Service->Get());
    if (!CommandLine.Ok())
        return CommandLine.Status();
    return TServiceLook{*Status, std::move(*CommandLine)};
}

// The COM port number that a value of the serial drivers names ("COM3"), if it names one.
std::optional<int> ComPortNumber(const std::string& Port) {
    if (Port.size() <= 3 || !SameText(std::string_view(Port).substr(0, 3), "COM"))
        return std::nullopt;
    try {
        std::size_t Used = 0;
        const int Number = std::stoi(Port.substr(3), &Used);
        if (Used == Port.size() - 3)
            return Number;
    } catch (const std::exception&) {
        // Not a COM port of ours to name ("COM1X"): passed over.
    }
    return std::nullopt;
}

// The COM port numbers that the serial drivers registered. A machine without serial ports has
// no such key at all.
TStatusOr<std::set<int>> PresentComPorts(IRegistry& Registry) {
    std::set<int> Present;
    TRegKey Key(Registry);
    TStatus Opened = Key.Open(TRegRoot::rrLocalMachine, SerialPortsKey, KeyRead);
    TStatusOr<std::vector<std::string>> Names =
        Opened.Ok() ? Key.ValueNames() : TStatusOr<std::vector<std::string>>(Opened);
    if (!Names.Ok())
        return Names.Status().Code() == ErrorFileNotFound ? TStatusOr<std::set<int>>(Present)
                                                          : Names.Status();
    for (const std::string& Name : *Names) {
        TStatusOr<TRegValue> Value = Key.ReadValue(Name);
        if (!Value.Ok() || !IsRegTextType(Value->Type))
            continue;
        if (std::optional<int> Number = ComPortNumber(RegDataText(Value->Data)))
            Present.insert(*Number);
    }
    return Present;
}

std::string Peer(const TTcpSocket& Socket) {
    const bool IPv6 = Socket.RemoteAddress.find(':') != std::string::npos;
    return (IPv6 ? "[" + Socket.RemoteAddress + "]" : Socket.RemoteAddress) + ":" +
           std::to_string(Socket.RemotePort);
}

// The TCP table by local port, read once for the whole list.
struct TSockets {
    std::multimap<std::uint16_t, std::uint32_t> Listeners; // port, owning process (0: unnamed)
    std::map<std::uint16_t, std::vector<std::string>> Peers;
};

TStatusOr<TSockets> ReadSockets(INetworkState& Network) {
    TSockets Sockets;
    try {
        for (const TTcpSocket& Socket : Network.TcpSockets()) {
            if (Socket.State == TTcpSocketState::tssListening)
                Sockets.Listeners.emplace(Socket.LocalPort, Socket.ProcessId);
            else
                Sockets.Peers[Socket.LocalPort].push_back(Peer(Socket));
        }
    } catch (const std::exception& Failure) {
        return TStatus(ErrorGenFailure, Failure.what());
    }
    return Sockets;
}

// The value of Result, or nothing, with What and the reason noted as unseen.
template <class T>
std::optional<T> SeenOrNoted(TStatusOr<T> Result, const std::string& What,
                             std::vector<std::string>& Unseen) {
    if (Result.Ok())
        return std::move(Result).Value();
    Unseen.push_back(What + ": " + Result.Status().Text());
    return std::nullopt;
}

using TFinding = std::optional<TMachineFinding>;

TFinding ProgramMissing(const std::string& Program) {
    std::error_code Error;
    if (std::filesystem::exists(Program, Error))
        return std::nullopt;
    return TMachineFinding{0, mfProgramMissing, "the service's program is missing: " + Program, {}};
}

// The same program file: the same file where both exist, otherwise the same path as the host
// compares paths.
bool SameProgram(const std::string& A, const std::string& B) {
    namespace fs = std::filesystem;
    std::error_code Error;
    if (fs::exists(A, Error) && fs::exists(B, Error))
        return fs::equivalent(A, B, Error);
    return SamePathName(fs::path(A).lexically_normal().generic_string(),
                        fs::path(B).lexically_normal().generic_string());
}

TFinding RegisteredElsewhere(const TServiceLook& Service, const std::string& Program) {
    const std::vector<std::string> Words = SplitWindowsCommandLine(Service.CommandLine);
    if (!Words.empty() && SameProgram(Words.front(), Program))
        return std::nullopt;
    return TMachineFinding{0, mfRegisteredElsewhere,
                           "the service is registered with the program of another folder: " +
                               Service.CommandLine + " (not " + Program + ")",
                           Service.CommandLine};
}

TFinding StoppedWithError(const TServiceStatus& Status) {
    if (Status.CurrentState != ServiceStopped || Status.Win32ExitCode == 0)
        return std::nullopt;
    std::string Text = "the service stopped with error " + std::to_string(Status.Win32ExitCode) +
                       " (" + SystemErrorText(Status.Win32ExitCode) + ")";
    if (Status.Win32ExitCode == ErrorServiceSpecificError)
        Text += ", its own code " + std::to_string(Status.ServiceSpecificExitCode);
    return TMachineFinding{0, mfStoppedWithError, std::move(Text), {}};
}

TFinding ComPortMissing(int Row, const TQ7NPort& Port, const std::set<int>& Present) {
    if (Present.count(Port.COMPort()))
        return std::nullopt;
    return TMachineFinding{Row,
                           mfComPortMissing,
                           "COM" + std::to_string(Port.COMPort()) +
                               " is not present on this machine",
                           {}};
}

// The programs that own listeners, each asked of the system once.
class TProcessNames {
public:
    explicit TProcessNames(INetworkState& Network) : FNetwork(Network) {}

    std::string Text(std::uint32_t Process) {
        if (Process == 0)
            return UnnamedProcess;
        auto Found = FPrograms.find(Process);
        if (Found == FPrograms.end())
            Found = FPrograms.emplace(Process, FNetwork.ProgramOfProcess(Process)).first;
        return "process " + std::to_string(Process) +
               (Found->second.empty() ? std::string() : " (" + Found->second + ")");
    }

private:
    INetworkState& FNetwork;
    std::map<std::uint32_t, std::string> FPrograms;
};

// Another program listens on the local port. While the service runs (its process is
// ServiceProcess), a listener that cannot be told apart from it is no finding.
TFinding LocalPortTaken(int Row, std::uint16_t LocalPort, const TSockets& Sockets,
                        std::uint32_t ServiceProcess, TProcessNames& Names) {
    const auto [First, Last] = Sockets.Listeners.equal_range(LocalPort);
    std::set<std::uint32_t> Others;
    for (auto Listener = First; Listener != Last; ++Listener)
        if (!ServiceProcess || (Listener->second && Listener->second != ServiceProcess))
            Others.insert(Listener->second);
    if (Others.empty())
        return std::nullopt;
    const std::string Owner = Names.Text(*Others.begin());
    return TMachineFinding{Row, mfLocalPortTaken,
                           "local port " + std::to_string(LocalPort) + " is taken by " + Owner,
                           Owner};
}

TFinding NotListening(int Row, std::uint16_t LocalPort, const TSockets& Sockets, bool Running) {
    if (!Running || Sockets.Listeners.count(LocalPort))
        return std::nullopt;
    return TMachineFinding{Row,
                           mfNotListening,
                           "the service runs, yet nothing listens on local port " +
                               std::to_string(LocalPort),
                           {}};
}

} // namespace

TMachineDoctor::TMachineDoctor(std::string Name, std::string ServiceProgram,
                               IServiceControlManager& Services, IRegistry& Registry,
                               INetworkState& Network)
    : FName(std::move(Name)), FServiceProgram(std::move(ServiceProgram)), FServices(Services),
      FRegistry(Registry), FNetwork(Network) {}

TMachineReport TMachineDoctor::Examine(const TQ7NPorts& Ports) {
    TMachineReport Report;
    auto Add = [&](TFinding Finding) {
        if (Finding)
            Report.Findings.push_back(std::move(*Finding));
    };

    Add(ProgramMissing(FServiceProgram));
    TStatusOr<TServiceLook> Looked = LookAtService(FServices, FName);
    std::optional<TServiceLook> Service;
    if (Looked.Ok() || Looked.Status().Code() != ErrorServiceDoesNotExist)
        Service = SeenOrNoted(std::move(Looked), "the service " + FName, Report.Unseen);
    if (Service) {
        Add(RegisteredElsewhere(*Service, FServiceProgram));
        Add(StoppedWithError(Service->Status));
    }
    const bool Running = Service && Service->Status.CurrentState == ServiceRunning;
    const std::uint32_t ServiceProcess = Running ? Service->Status.ProcessId : 0;

    const std::optional<TSockets> Sockets =
        SeenOrNoted(ReadSockets(FNetwork), "the TCP listeners", Report.Unseen);
    const std::set<int> ComPorts =
        SeenOrNoted(PresentComPorts(FRegistry),
                    std::string("the serial ports (HKLM\\") + SerialPortsKey + ")", Report.Unseen)
            .value_or(std::set<int>());

    TProcessNames Names(FNetwork);
    std::set<std::uint16_t> MappedPorts;
    for (int Index = 0; Index < Ports.Count(); ++Index) {
        const TQ7NPort& Port = *Ports.Items(Index);
        const int Row = Index + 1;
        Add(ComPortMissing(Row, Port, ComPorts));
        if (!Sockets || Port.LocalPort() < 1 || Port.LocalPort() > 65535)
            continue;
        const auto LocalPort = static_cast<std::uint16_t>(Port.LocalPort());
        MappedPorts.insert(LocalPort);
        Add(LocalPortTaken(Row, LocalPort, *Sockets, ServiceProcess, Names));
        Add(NotListening(Row, LocalPort, *Sockets, Running));
    }
    for (std::uint16_t LocalPort : MappedPorts) // none when the sockets were not seen
        if (auto Found = Sockets->Peers.find(LocalPort); Found != Sockets->Peers.end())
            Report.Connections.push_back({LocalPort, Found->second});
    return Report;
}
std::vector<TMachineFinding> TMachineDoctor::CheckRows(const TQ7NPorts& Ports) {
    std::vector<TMachineFinding> Rows = Examine(Ports).Findings;
    std::erase_if(Rows, [](const TMachineFinding& Finding) { return Finding.Row == 0; });
    return Rows;
}

} // namespace q7n
