#include "platform/NetworkState.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <limits.h>
#include <netinet/in.h>
#include <sstream>
#include <system_error>
#include <unistd.h>
#include <unordered_map>

namespace q7n::platform {

namespace {

// The kernel's TCP states as /proc/net/tcp writes them (include/net/tcp_states.h).
constexpr unsigned long TcpEstablished = 0x01;
constexpr unsigned long TcpListen = 0x0A;

// The whole of a /proc file; false when it does not exist. The files are generated as they are
// read, so their size is unknown beforehand.
bool ReadProcFile(const char* Path, std::string& Text) {
    std::FILE* File = std::fopen(Path, "re");
    if (!File) {
        if (errno == ENOENT)
            return false;
        throw std::system_error(errno, std::generic_category(), std::string("Cannot open ") + Path);
    }
    char Buffer[16384];
    std::size_t Count = 0;
    while ((Count = std::fread(Buffer, 1, sizeof Buffer, File)) > 0)
        Text.append(Buffer, Count);
    const bool Failed = std::ferror(File);
    const int Error = errno;
    std::fclose(File);
    if (Failed)
        throw std::system_error(Error, std::generic_category(), std::string("Cannot read ") + Path);
    return true;
}

// The kernel writes each 32-bit word of an address with %08X of its value in memory, so the
// word's bytes as this machine stores it are the address's bytes in network order.
bool ParseAddress(const std::string& Hex, unsigned char* Bytes, std::size_t Size) {
    if (Hex.size() != Size * 2)
        return false;
    for (std::size_t Word = 0; Word < Size / 4; ++Word) {
        char* End = nullptr;
        const std::string Digits = Hex.substr(Word * 8, 8);
        const std::uint32_t Value = std::uint32_t(std::strtoul(Digits.c_str(), &End, 16));
        if (*End != '\0')
            return false;
        std::memcpy(Bytes + Word * 4, &Value, 4);
    }
    return true;
}

// "ADDRESS:PORT" of a /proc/net/tcp line as text and port; an IPv6 address that carries an IPv4
// one (a dual-stack socket's IPv4 peer) is written as IPv4, as the IPv4 table would have it.
bool ParseEndpoint(const std::string& Field, std::string& Address, std::uint16_t& Port) {
    const std::size_t Colon = Field.find(':');
    if (Colon == std::string::npos)
        return false;
    unsigned char Bytes[16] = {};
    const std::string Hex = Field.substr(0, Colon);
    const bool IsV6 = Hex.size() == 32;
    if (!ParseAddress(Hex, Bytes, IsV6 ? 16 : 4))
        return false;
    char* End = nullptr;
    const unsigned long Value = std::strtoul(Field.c_str() + Colon + 1, &End, 16);
    if (*End != '\0' || Value > 0xFFFF)
        return false;
    Port = std::uint16_t(Value);
    static constexpr unsigned char MappedPrefix[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
    char Text[INET6_ADDRSTRLEN] = {};
    if (!IsV6)
        ::inet_ntop(AF_INET, Bytes, Text, sizeof Text);
    else if (std::memcmp(Bytes, MappedPrefix, sizeof MappedPrefix) == 0)
        ::inet_ntop(AF_INET, Bytes + 12, Text, sizeof Text);
    else
        ::inet_ntop(AF_INET6, Bytes, Text, sizeof Text);
    Address = Text;
    return true;
}

struct TProcSocket {
    TTcpSocket Socket;
    unsigned long Inode = 0;
};

// The listening and established sockets of one table; a line that does not read is skipped, as
// a later kernel may add to the format.
void ParseTable(const std::string& Text, std::vector<TProcSocket>& Sockets) {
    std::istringstream Lines(Text);
    std::string Line;
    std::getline(Lines, Line); // the header
    while (std::getline(Lines, Line)) {
        std::istringstream Fields(Line);
        std::string Slot, Local, Remote, Skipped;
        unsigned long State = 0, Inode = 0;
        Fields >> Slot >> Local >> Remote >> std::hex >> State >> std::dec;
        for (int Index = 0; Index < 5; ++Index) // tx:rx queues, timer, retransmits, uid, timeout
            Fields >> Skipped;
        Fields >> Inode;
        if (!Fields || (State != TcpListen && State != TcpEstablished))
            continue;
        TProcSocket Entry;
        std::string LocalAddress;
        if (!ParseEndpoint(Local, LocalAddress, Entry.Socket.LocalPort) ||
            !ParseEndpoint(Remote, Entry.Socket.RemoteAddress, Entry.Socket.RemotePort))
            continue;
        if (State == TcpListen) {
            Entry.Socket.RemoteAddress.clear();
            Entry.Socket.RemotePort = 0;
        } else {
            Entry.Socket.State = TTcpSocketState::tssConnected;
        }
        Entry.Inode = Inode;
        Sockets.push_back(std::move(Entry));
    }
}

bool IsProcessId(const char* Name) {
    if (*Name == '\0')
        return false;
    for (; *Name; ++Name)
        if (*Name < '0' || *Name > '9')
            return false;
    return true;
}

// Writes the owner of each socket whose inode Wanted holds, looking through the open files of
// every process once; processes we may not look into are passed over (their sockets stay 0).
void FindOwners(std::unordered_map<unsigned long, std::uint32_t>& Wanted) {
    DIR* Processes = ::opendir("/proc");
    if (!Processes)
        return;
    std::size_t Left = Wanted.size();
    while (Left > 0) {
        const dirent* Process = ::readdir(Processes);
        if (!Process)
            break;
        if (!IsProcessId(Process->d_name))
            continue;
        const std::string Folder = std::string("/proc/") + Process->d_name + "/fd";
        DIR* Files = ::opendir(Folder.c_str());
        if (!Files)
            continue; // another user's, or ended meanwhile
        const std::uint32_t Pid = std::uint32_t(std::strtoul(Process->d_name, nullptr, 10));
        while (const dirent* File = ::readdir(Files)) {
            char Target[64];
            const std::string Link = Folder + "/" + File->d_name;
            const ssize_t Length = ::readlink(Link.c_str(), Target, sizeof Target - 1);
            if (Length <= 0)
                continue;
            Target[Length] = '\0';
            unsigned long Inode = 0;
            if (std::sscanf(Target, "socket:[%lu]", &Inode) != 1)
                continue;
            const auto Found = Wanted.find(Inode);
            // A socket that a child inherited belongs to the first process seen with it.
            if (Found != Wanted.end() && Found->second == 0) {
                Found->second = Pid;
                --Left;
            }
        }
        ::closedir(Files);
    }
    ::closedir(Processes);
}

class TPosixNetworkState final : public INetworkState {
public:
    std::vector<TTcpSocket> TcpSockets() override {
        std::vector<TProcSocket> Found;
        std::string Text;
        if (!ReadProcFile("/proc/net/tcp", Text))
            throw std::system_error(ENOENT, std::generic_category(), "Cannot open /proc/net/tcp");
        ParseTable(Text, Found);
        Text.clear();
        if (ReadProcFile("/proc/net/tcp6", Text)) // absent when IPv6 is off
            ParseTable(Text, Found);

        // Inode 0 is a socket that no process holds yet, such as one still waiting to be
        // accepted.
        std::unordered_map<unsigned long, std::uint32_t> Owners;
        for (const TProcSocket& Entry : Found)
            if (Entry.Inode != 0)
                Owners.emplace(Entry.Inode, 0);
        FindOwners(Owners);

        std::vector<TTcpSocket> Sockets;
        Sockets.reserve(Found.size());
        for (TProcSocket& Entry : Found) {
            if (Entry.Inode != 0)
                Entry.Socket.ProcessId = Owners[Entry.Inode];
            Sockets.push_back(std::move(Entry.Socket));
        }
        return Sockets;
    }

    std::string ProgramOfProcess(std::uint32_t ProcessId) override {
        if (ProcessId == 0)
            return {};
        const std::string Link = "/proc/" + std::to_string(ProcessId) + "/exe";
        char Target[PATH_MAX];
        const ssize_t Length = ::readlink(Link.c_str(), Target, sizeof Target);
        if (Length <= 0 || std::size_t(Length) == sizeof Target)
            return {};
        return std::string(Target, std::size_t(Length));
    }
};

} // namespace

std::unique_ptr<INetworkState> CreateHostNetworkState() {
    return std::make_unique<TPosixNetworkState>();
}

} // namespace q7n::platform
