// What the host's TCP table tells on every host: /proc on Linux, GetExtendedTcpTable on Windows
// (under Wine in the tests), seen through a listener of our own in another process.
#include "platform/NetworkState.h"

#include "platform/testsupport/FileHolderProcess.h"
#include "platform/testsupport/LocalTcp.h"
#include "platform/testsupport/RunningUnderWine.h"
#include "platform/testsupport/ServiceControlTestSupport.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

using namespace q7n::platform;
using q7n::testing::RunningUnderWine;
namespace fs = std::filesystem;

namespace {

std::uint32_t OwnProcessId() {
#ifdef _WIN32
    return ::GetCurrentProcessId();
#else
    return std::uint32_t(::getpid());
#endif
}

std::optional<TTcpSocket> Find(const std::vector<TTcpSocket>& Sockets, TTcpSocketState State,
                               int LocalPort, int RemotePort = 0) {
    const auto Found = std::find_if(Sockets.begin(), Sockets.end(), [&](const TTcpSocket& Socket) {
        return Socket.State == State && Socket.LocalPort == LocalPort &&
               Socket.RemotePort == RemotePort;
    });
    if (Found == Sockets.end())
        return std::nullopt;
    return *Found;
}

bool IsListed(const std::vector<TTcpSocket>& Sockets, int LocalPort) {
    return std::any_of(Sockets.begin(), Sockets.end(),
                       [&](const TTcpSocket& Socket) { return Socket.LocalPort == LocalPort; });
}

TEST(NetworkStateTest, AListenerAndAConnectionToItAreSeenWithTheirProcessesUntilTheListenerDies) {
    const std::unique_ptr<INetworkState> Host = CreateHostNetworkState();
    q7n::testing::TFileHolderProcess Listener("listen", "0", -1);
    const int Port = Listener.Port();
    ASSERT_GT(Port, 0);

    const std::optional<TTcpSocket> Listening =
        Find(Host->TcpSockets(), TTcpSocketState::tssListening, Port);
    ASSERT_TRUE(Listening) << "port " << Port;
    // Wine 8 finds a socket's owner among the Unix descriptors that its Windows processes hold,
    // and a socket that was only bound and set listening is held by wineserver alone: Wine
    // answers 0 for it, but never another process.
    if (RunningUnderWine())
        EXPECT_TRUE(Listening->ProcessId == 0 || Listening->ProcessId == Listener.ProcessId())
            << Listening->ProcessId;
    else
        EXPECT_EQ(Listening->ProcessId, Listener.ProcessId());
    EXPECT_EQ(Listening->RemoteAddress, "");
    const std::string Program = Host->ProgramOfProcess(Listener.ProcessId());
    EXPECT_TRUE(fs::path(Program).is_absolute()) << Program;
    EXPECT_EQ(fs::path(Program).filename().string(), fs::path(Q7N_FILE_HOLDER).filename().string())
        << Program;
    EXPECT_EQ(Host->ProgramOfProcess(0), "");

    // Both ends, though the listener never accepts: ours with this process, and the listener's
    // waiting in its backlog. Sending makes a process under Wine take its socket's descriptor
    // from wineserver, so that Wine too can tell whose it is.
    q7n::testing::TLocalTcp Client;
    const int ClientPort = Client.Connect(std::uint16_t(Port), "x");
    ASSERT_NE(ClientPort, 0);
    const std::vector<TTcpSocket> Connected = Host->TcpSockets();
    const std::optional<TTcpSocket> Ours =
        Find(Connected, TTcpSocketState::tssConnected, ClientPort, Port);
    ASSERT_TRUE(Ours) << "port " << ClientPort << " to " << Port;
    EXPECT_EQ(Ours->RemoteAddress, "127.0.0.1");
    EXPECT_EQ(Ours->ProcessId, OwnProcessId());
    const std::optional<TTcpSocket> Theirs =
        Find(Connected, TTcpSocketState::tssConnected, Port, ClientPort);
    ASSERT_TRUE(Theirs) << "port " << Port << " to " << ClientPort;
    EXPECT_EQ(Theirs->RemoteAddress, "127.0.0.1");

    // The killed listener's sockets go as the host tears them down, which need not be done when
    // the process is.
    Listener.Kill();
    EXPECT_TRUE(q7n::testing::WaitFor([&] { return !IsListed(Host->TcpSockets(), Port); }, 5));
}

} // namespace
