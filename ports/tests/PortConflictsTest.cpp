#include "ports/PortConflicts.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace q7n;

namespace {

TQ7NPort* AddPort(TQ7NPorts& Ports, const std::string& IP, int Remote, int Local, int COM,
                  int Rate) {
    TQ7NPort* Port = Ports.Add();
    Port->SetIP(IP);
    Port->SetRemoutePort(Remote);
    Port->SetLocalPort(Local);
    Port->SetCOMPort(COM);
    Port->SetCpRate(Rate);
    return Port;
}

// Each finding of a row as "kind/other row: text".
std::vector<std::string> Described(const TPortCheckResult& Result, const TQ7NPorts& Ports,
                                   int Row) {
    std::vector<std::string> Lines;
    for (const TPortFinding& Finding : Result.ForRow(Row)) {
        EXPECT_EQ(Finding.Row, Row);
        Lines.push_back(std::to_string(Finding.Kind) + "/" + std::to_string(Finding.OtherRow) +
                        ": " + PortFindingText(Finding, Ports));
    }
    return Lines;
}

} // namespace

TEST(PortConflicts, NamesEveryConflictByRowAndEveryBadValue) {
    TQ7NPorts Ports(nullptr);
    AddPort(Ports, "192.168.1.6", 8080, 4001, 1, 9600);        // 1
    AddPort(Ports, "plc-7.plant.example", 0, 4002, 2, 115200); // 2
    AddPort(Ports, "10.0.0.1", 8080, 4001, 3, 250000);         // 3
    AddPort(Ports, "", 70000, 4001, 2, 110);                   // 4
    AddPort(Ports, "10.0.0.01", 502, -1, 4, 9600);             // 5
    AddPort(Ports, "bad\x1b[2Jname", 502, 65535, 5, 9600);     // 6

    TPortCheckResult Result = CheckPorts(Ports);
    EXPECT_TRUE(Described(Result, Ports, 0).empty());
    EXPECT_TRUE(Described(Result, Ports, 7).empty());
    EXPECT_EQ(Described(Result, Ports, 1),
              (std::vector<std::string>{"0/3: local port 4001 is also used by row 3 and 1 more"}));
    EXPECT_EQ(Described(Result, Ports, 2),
              (std::vector<std::string>{"1/4: COM2 is also used by row 4",
                                        "2/0: remote port 0 is outside 1 to 65535"}));
    EXPECT_EQ(Described(Result, Ports, 3),
              (std::vector<std::string>{"0/1: local port 4001 is also used by row 1",
                                        "4/0: rate 250000 is not one the port editor offers"}));
    EXPECT_EQ(Described(Result, Ports, 4),
              (std::vector<std::string>{
                  "0/1: local port 4001 is also used by row 1", "1/2: COM2 is also used by row 2",
                  "2/0: remote port 70000 is outside 1 to 65535",
                  "5/0: IP \"\" is neither an IPv4 address nor a host name"}));
    EXPECT_EQ(Described(Result, Ports, 5),
              (std::vector<std::string>{
                  "3/0: local port -1 is outside 1 to 65535",
                  "5/0: IP \"10.0.0.01\" is neither an IPv4 address nor a host name"}));
    // Control characters from the file are never passed on to a terminal as they are.
    EXPECT_EQ(Described(Result, Ports, 6),
              (std::vector<std::string>{
                  "5/0: IP \"bad\\x1B[2Jname\" is neither an IPv4 address nor a host name"}));
    EXPECT_EQ(Result.Findings().size(), 12u);
    EXPECT_EQ(Result.RowsWithFindings(), 6);
    EXPECT_EQ(Result.Findings().front().Row, 1);
    EXPECT_EQ(Result.Findings().back().Row, 6);

    TQ7NPorts Empty(nullptr);
    EXPECT_TRUE(CheckPorts(Empty).Empty());
}

TEST(PortConflicts, TellsAddressesFromHostNames) {
    for (const char* Good : {"0.0.0.0", "255.255.255.255", "192.168.1.6", "localhost", "a",
                             "plc-7.plant.example", "host.example.", "x1.b2", "1a.example"})
        EXPECT_TRUE(IsIPv4Address(Good) || IsHostName(Good)) << Good;
    for (const char* Bad : {"", ".", "256.1.1.1", "1.2.3", "1.2.3.4.5", "1.2.3.4.", "01.2.3.4",
                            "1..2.3", "-host", "host-", "a..b", "a b", "host_name", "1.2.3.999",
                            "::1", "1.2.3.4:80", "12345", "host.12"})
        EXPECT_FALSE(IsIPv4Address(Bad) || IsHostName(Bad)) << Bad;
    EXPECT_TRUE(IsHostName(std::string(63, 'a')));
    EXPECT_FALSE(IsHostName(std::string(64, 'a')));
    std::string Long;
    for (int I = 0; I < 4; ++I)
        Long += std::string(I ? 63 : 61, 'a') + (I < 3 ? "." : "");
    EXPECT_EQ(Long.size(), 253u);
    EXPECT_TRUE(IsHostName(Long));
    EXPECT_FALSE(IsHostName(Long + "a"));
}
