#pragma once

#include "platform/testsupport/LoopbackSocket.h"

#include <cstdint>
#include <string>
#include <vector>

namespace q7n::testing {

// TCP on this machine, for the fixture service and the tests of programs that listen: listening
// sockets held while the object lives, and whether a port takes connections. Nothing is accepted:
// a client's connection completes in the system's queue, which is all a connection test needs.
class TLocalTcp {
public:
    TLocalTcp() : FStarted(StartSockets()) {}
    TLocalTcp(const TLocalTcp&) = delete;
    TLocalTcp& operator=(const TLocalTcp&) = delete;
    ~TLocalTcp() {
        for (TSocket Socket : FHeld)
            CloseSocket(Socket);
        if (FStarted)
            StopSockets();
    }

    // Listens on Port of all the host's IPv4 addresses (0: a port that the system picks); answers
    // the port, 0 when it cannot be bound (another program has it, or it needs rights).
    std::uint16_t Listen(std::uint16_t Port) {
        TSocket Socket = OpenTcpSocket();
        if (Socket == NoSocket)
            return 0;
#ifndef _WIN32
        // A restarted listener binds again at once, past the connections of the last run that the
        // system still keeps; another listener on the port still refuses the bind. (On Windows
        // the option would let two programs share a port.)
        int Reuse = 1;
        ::setsockopt(Socket, SOL_SOCKET, SO_REUSEADDR, &Reuse, sizeof Reuse);
#endif
        sockaddr_in Address = LoopbackAddress(Port);
        Address.sin_addr.s_addr = htonl(INADDR_ANY);
        const int Bound =
            ::bind(Socket, reinterpret_cast<sockaddr*>(&Address), sizeof Address) == 0 &&
                    ::listen(Socket, SOMAXCONN) == 0
                ? LocalPortOf(Socket)
                : 0;
        if (!Bound) {
            CloseSocket(Socket);
            return 0;
        }
        FHeld.push_back(Socket);
        return static_cast<std::uint16_t>(Bound);
    }

    // A port that was free a moment ago: listened on as Listen(0) does, and let go.
    std::uint16_t FreePort() {
        std::uint16_t Port = Listen(0);
        if (Port) {
            CloseSocket(FHeld.back());
            FHeld.pop_back();
        }
        return Port;
    }

    // Whether a program takes connections on Port of the loopback address.
    bool Connects(std::uint16_t Port) {
        TSocket Socket = ConnectTo(Port);
        if (Socket == NoSocket)
            return false;
        CloseSocket(Socket);
        return true;
    }

    // Connects to Port of the loopback address and holds the connection while the object lives,
    // with Text sent on it (under Wine a process owns a socket only once it used it itself);
    // answers the port of our end, 0 when nobody took the connection.
    std::uint16_t Connect(std::uint16_t Port, const std::string& Text = {}) {
        TSocket Socket = ConnectTo(Port);
        if (Socket == NoSocket)
            return 0;
        FHeld.push_back(Socket);
        if (!Text.empty() && ::send(Socket, Text.data(), int(Text.size()), 0) != int(Text.size()))
            return 0;
        return static_cast<std::uint16_t>(LocalPortOf(Socket));
    }

private:
    // A loopback connect is answered at once, by the listener's backlog or a refusal.
    static TSocket ConnectTo(std::uint16_t Port) {
        TSocket Socket = OpenTcpSocket();
        if (Socket == NoSocket)
            return NoSocket;
        const sockaddr_in Address = LoopbackAddress(Port);
        if (::connect(Socket, reinterpret_cast<const sockaddr*>(&Address), sizeof Address) != 0) {
            CloseSocket(Socket);
            return NoSocket;
        }
        return Socket;
    }

    bool FStarted;
    std::vector<TSocket> FHeld;
};

} // namespace q7n::testing
