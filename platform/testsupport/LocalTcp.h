#pragma once

#include <cstdint>
#include <vector>

#ifdef _WIN32
#include <winsock2.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace q7n::testing {

// TCP on this machine, for the fixture service and the tests of programs that listen: listening
// sockets held while the object lives, and whether a port takes connections. Nothing is accepted:
// a client's connection completes in the system's queue, which is all a connection test needs.
class TLocalTcp {
public:
    TLocalTcp() {
#ifdef _WIN32
        WSADATA Data;
        FStarted = ::WSAStartup(MAKEWORD(2, 2), &Data) == 0;
#endif
    }
    TLocalTcp(const TLocalTcp&) = delete;
    TLocalTcp& operator=(const TLocalTcp&) = delete;
    ~TLocalTcp() {
        for (TSocket Socket : FHeld)
            Close(Socket);
#ifdef _WIN32
        if (FStarted)
            ::WSACleanup();
#endif
    }

    // Listens on Port of all the host's IPv4 addresses (0: a port that the system picks); answers
    // the port, 0 when it cannot be bound (another program has it, or it needs rights).
    std::uint16_t Listen(std::uint16_t Port) {
        TSocket Socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (Socket == NoSocket)
            return 0;
#ifndef _WIN32
        // A restarted listener binds again at once, past the connections of the last run that the
        // system still keeps; another listener on the port still refuses the bind. (On Windows
        // the option would let two programs share a port.)
        int Reuse = 1;
        ::setsockopt(Socket, SOL_SOCKET, SO_REUSEADDR, &Reuse, sizeof Reuse);
#endif
        sockaddr_in Address = AddressOf(INADDR_ANY, Port);
        TAddressSize Size = sizeof Address;
        if (::bind(Socket, reinterpret_cast<sockaddr*>(&Address), Size) != 0 ||
            ::listen(Socket, SOMAXCONN) != 0 ||
            ::getsockname(Socket, reinterpret_cast<sockaddr*>(&Address), &Size) != 0) {
            Close(Socket);
            return 0;
        }
        FHeld.push_back(Socket);
        return ntohs(Address.sin_port);
    }

    // A port that was free a moment ago: listened on as Listen(0) does, and let go.
    std::uint16_t FreePort() {
        std::uint16_t Port = Listen(0);
        if (Port) {
            Close(FHeld.back());
            FHeld.pop_back();
        }
        return Port;
    }

    // Whether a program takes connections on Port of the loopback address.
    bool Connects(std::uint16_t Port) {
        TSocket Socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (Socket == NoSocket)
            return false;
        sockaddr_in Address = AddressOf(INADDR_LOOPBACK, Port);
        bool Connected =
            ::connect(Socket, reinterpret_cast<sockaddr*>(&Address), sizeof Address) == 0;
        Close(Socket);
        return Connected;
    }

private:
#ifdef _WIN32
    using TSocket = SOCKET;
    using TAddressSize = int;
    static constexpr TSocket NoSocket = INVALID_SOCKET;
    static void Close(TSocket Socket) {
        ::closesocket(Socket);
    }
    bool FStarted = false;
#else
    using TSocket = int;
    using TAddressSize = socklen_t;
    static constexpr TSocket NoSocket = -1;
    static void Close(TSocket Socket) {
        ::close(Socket);
    }
#endif

    static sockaddr_in AddressOf(std::uint32_t Host, std::uint16_t Port) {
        sockaddr_in Address{};
        Address.sin_family = AF_INET;
        Address.sin_addr.s_addr = htonl(Host);
        Address.sin_port = htons(Port);
        return Address;
    }

    std::vector<TSocket> FHeld;
};

} // namespace q7n::testing
