#pragma once

#include <cstdint>

#ifdef _WIN32
#include <windows.h>

#include <winsock2.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

// The few socket calls that the TCP tests and their listening fixture make on 127.0.0.1, over
// Winsock or the POSIX sockets alike.
namespace q7n::testing {

#ifdef _WIN32
using TSocket = SOCKET;
using TSocketLength = int;
inline constexpr TSocket NoSocket = INVALID_SOCKET;
#else
using TSocket = int;
using TSocketLength = socklen_t;
inline constexpr TSocket NoSocket = -1;
#endif

// Winsock wants to be started once per user of it, and stopped as often; POSIX needs neither.
inline bool StartSockets() {
#ifdef _WIN32
    WSADATA Data;
    return ::WSAStartup(MAKEWORD(2, 2), &Data) == 0;
#else
    return true;
#endif
}

inline void StopSockets() {
#ifdef _WIN32
    ::WSACleanup();
#endif
}

inline TSocket OpenTcpSocket() {
#ifdef _WIN32
    return ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
#else
    return ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
#endif
}

inline void CloseSocket(TSocket Socket) {
#ifdef _WIN32
    ::closesocket(Socket);
#else
    ::close(Socket);
#endif
}

inline sockaddr_in LoopbackAddress(int Port) {
    sockaddr_in Address{};
    Address.sin_family = AF_INET;
    Address.sin_port = htons(std::uint16_t(Port));
    Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return Address;
}

// The port a socket is bound to; 0 when it cannot be read.
inline int LocalPortOf(TSocket Socket) {
    sockaddr_in Address{};
    TSocketLength Length = sizeof Address;
    if (::getsockname(Socket, reinterpret_cast<sockaddr*>(&Address), &Length) != 0)
        return 0;
    return ntohs(Address.sin_port);
}

} // namespace q7n::testing
