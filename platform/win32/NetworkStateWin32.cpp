#include "platform/NetworkState.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Text.h"

#include <windows.h>

#include <cstring>
#include <iphlpapi.h>
#include <winsock2.h>
#include <ws2tcpip.h>

namespace q7n::platform {

namespace {

// The table may grow between the call that sizes it and the call that fills it; a machine that
// keeps opening sockets faster than we read gets a few tries, not an endless loop.
constexpr int TableAttempts = 8;

// GetExtendedTcpTable's whole table of one family; empty when the host has no such stack.
std::vector<unsigned char> ReadTable(ULONG Family) {
    std::vector<unsigned char> Table;
    DWORD Size = 0;
    for (int Attempt = 0; Attempt < TableAttempts; ++Attempt) {
        // Room for a few more rows than asked, for those that come meanwhile.
        Table.resize(Size + Size / 8);
        Size = DWORD(Table.size());
        const DWORD Error = ::GetExtendedTcpTable(Table.empty() ? nullptr : Table.data(), &Size,
                                                  FALSE, Family, TCP_TABLE_OWNER_PID_ALL, 0);
        if (Error == NO_ERROR)
            return Table;
        if (Family == AF_INET6 && Error == ERROR_NOT_SUPPORTED)
            return {};
        if (Error != ERROR_INSUFFICIENT_BUFFER)
            ThrowWin32Error("Cannot read the TCP table", Error);
    }
    ThrowWin32Error("Cannot read the TCP table: it keeps growing", ERROR_INSUFFICIENT_BUFFER);
}

// The table's ports are in network byte order in the low 16 bits.
std::uint16_t PortOf(DWORD Port) {
    return std::uint16_t(((Port & 0xFF) << 8) | ((Port >> 8) & 0xFF));
}

// An IPv6 address that carries an IPv4 one (a dual-stack socket's IPv4 peer) is written as IPv4,
// as the IPv4 table would have it.
std::string AddressText(const unsigned char* Bytes, bool IsV6) {
    static constexpr unsigned char MappedPrefix[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
    if (IsV6 && std::memcmp(Bytes, MappedPrefix, sizeof MappedPrefix) == 0) {
        Bytes += sizeof MappedPrefix;
        IsV6 = false;
    }
    wchar_t Text[INET6_ADDRSTRLEN] = {};
    if (!::InetNtopW(IsV6 ? AF_INET6 : AF_INET, Bytes, Text, INET6_ADDRSTRLEN))
        return {};
    return WideToUtf8(Text);
}

// Listening and established rows only; the address of a listening row's peer means nothing.
void AddRow(std::vector<TTcpSocket>& Sockets, DWORD State, DWORD LocalPort,
            const unsigned char* RemoteAddress, bool IsV6, DWORD RemotePort, DWORD Pid) {
    if (State != DWORD(MIB_TCP_STATE_LISTEN) && State != DWORD(MIB_TCP_STATE_ESTAB))
        return;
    TTcpSocket Socket;
    Socket.LocalPort = PortOf(LocalPort);
    Socket.ProcessId = Pid;
    if (State == DWORD(MIB_TCP_STATE_ESTAB)) {
        Socket.State = TTcpSocketState::tssConnected;
        Socket.RemoteAddress = AddressText(RemoteAddress, IsV6);
        Socket.RemotePort = PortOf(RemotePort);
    }
    Sockets.push_back(std::move(Socket));
}

class TWin32NetworkState final : public INetworkState {
public:
    std::vector<TTcpSocket> TcpSockets() override {
        std::vector<TTcpSocket> Sockets;
        const std::vector<unsigned char> V4 = ReadTable(AF_INET);
        if (!V4.empty()) {
            const auto* Table = reinterpret_cast<const MIB_TCPTABLE_OWNER_PID*>(V4.data());
            for (DWORD Index = 0; Index < Table->dwNumEntries; ++Index) {
                const MIB_TCPROW_OWNER_PID& Row = Table->table[Index];
                AddRow(Sockets, Row.dwState, Row.dwLocalPort,
                       reinterpret_cast<const unsigned char*>(&Row.dwRemoteAddr), false,
                       Row.dwRemotePort, Row.dwOwningPid);
            }
        }
        const std::vector<unsigned char> V6 = ReadTable(AF_INET6);
        if (!V6.empty()) {
            const auto* Table = reinterpret_cast<const MIB_TCP6TABLE_OWNER_PID*>(V6.data());
            for (DWORD Index = 0; Index < Table->dwNumEntries; ++Index) {
                const MIB_TCP6ROW_OWNER_PID& Row = Table->table[Index];
                AddRow(Sockets, Row.dwState, Row.dwLocalPort, Row.ucRemoteAddr, true,
                       Row.dwRemotePort, Row.dwOwningPid);
            }
        }
        return Sockets;
    }

    std::string ProgramOfProcess(std::uint32_t ProcessId) override {
        // Limited information is what a user may ask of another user's process.
        HANDLE Process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, ProcessId);
        if (!Process)
            return {};
        std::wstring Path(32768, L'\0'); // the longest path Windows has
        DWORD Length = DWORD(Path.size());
        const BOOL Done = ::QueryFullProcessImageNameW(Process, 0, Path.data(), &Length);
        ::CloseHandle(Process);
        if (!Done)
            return {};
        Path.resize(Length);
        return WideToUtf8(Path);
    }
};

} // namespace

std::unique_ptr<INetworkState> CreateHostNetworkState() {
    return std::make_unique<TWin32NetworkState>();
}

} // namespace q7n::platform
