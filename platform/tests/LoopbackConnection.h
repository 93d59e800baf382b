#pragma once

#include "platform/tests/LoopbackSocket.h"

#include <stdexcept>
#include <string>

namespace q7n::testing {

// A TCP connection of this process to 127.0.0.1:Port, open from construction until the object
// goes. A listener's backlog completes the connection before anyone accepts it.
class TLoopbackConnection {
public:
    explicit TLoopbackConnection(int Port) {
        if (!StartSockets())
            throw std::runtime_error("the sockets did not start");
        FStarted = true;
        FSocket = OpenTcpSocket();
        if (FSocket == NoSocket)
            Fail("socket");
        // Blocking, but bounded: a loopback connect is answered at once, by the backlog or a
        // refusal.
        const sockaddr_in Address = LoopbackAddress(Port);
        if (::connect(FSocket, reinterpret_cast<const sockaddr*>(&Address), sizeof Address) != 0)
            Fail("connect to port " + std::to_string(Port));
        FLocalPort = LocalPortOf(FSocket);
        if (FLocalPort == 0)
            Fail("getsockname");
    }
    TLoopbackConnection(const TLoopbackConnection&) = delete;
    TLoopbackConnection& operator=(const TLoopbackConnection&) = delete;
    ~TLoopbackConnection() { Close(); }

    // The port of our end.
    int LocalPort() const { return FLocalPort; }

    // Writes Text; the listener's end keeps it until it is read, which may be never.
    void Send(const std::string& Text) {
        if (::send(FSocket, Text.data(), int(Text.size()), 0) != int(Text.size()))
            throw std::runtime_error("send failed");
    }

private:
    [[noreturn]] void Fail(const std::string& What) {
        Close();
        throw std::runtime_error(What + " failed");
    }

    void Close() {
        if (FSocket != NoSocket)
            CloseSocket(FSocket);
        FSocket = NoSocket;
        if (FStarted)
            StopSockets();
        FStarted = false;
    }

    bool FStarted = false;
    TSocket FSocket = NoSocket;
    int FLocalPort = 0;
};

} // namespace q7n::testing
