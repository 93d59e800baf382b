#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// What the host's TCP stack says about the machine now: who listens on which port, and who is
// connected to it. Read only; nothing here opens, binds or connects anything.
namespace q7n::platform {

enum class TTcpSocketState { tssListening, tssConnected };

struct TTcpSocket {
    TTcpSocketState State = TTcpSocketState::tssListening;
    std::uint16_t LocalPort = 0;
    // A connected socket's peer as text ("10.0.0.7", "::1"), and its port; empty and 0 for a
    // listening one.
    std::string RemoteAddress;
    std::uint16_t RemotePort = 0;
    // The process that owns the socket; 0 when the host does not tell (another user's socket
    // seen without the right to look).
    std::uint32_t ProcessId = 0;
};

class INetworkState {
public:
    // The machine's TCP sockets that listen or are connected (established), IPv4 and IPv6, read
    // afresh at each call. Raises std::system_error when the host's table cannot be read.
    virtual std::vector<TTcpSocket> TcpSockets() = 0;
    // The program file of a running process, as a full path of the host; empty when the process
    // is gone or the host does not tell.
    virtual std::string ProgramOfProcess(std::uint32_t ProcessId) = 0;

    virtual ~INetworkState() = default;
};

// The host's own: GetExtendedTcpTable on Windows, /proc/net/tcp and tcp6 elsewhere.
std::unique_ptr<INetworkState> CreateHostNetworkState();

} // namespace q7n::platform
