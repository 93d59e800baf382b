#pragma once

#include "ports/Q7NPort.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace q7n {

enum TPortFindingKind {
    pfLocalPortShared,      // another mapping listens on the same local port
    pfCOMPortShared,        // another mapping uses the same COM port
    pfRemotePortOutOfRange, // not within 1 to 65535
    pfLocalPortOutOfRange,  // not within 1 to 65535
    pfRateNotOffered,       // a rate the port editor does not offer
    pfBadAddress,           // neither an IPv4 address nor a host name
};

// One thing wrong with one mapping. Rows count from 1, in list order.
struct TPortFinding {
    int Row = 0;
    TPortFindingKind Kind = pfBadAddress;
    int OtherRow = 0;       // the row it conflicts with; 0 when it concerns this row alone
    int MoreRows = 0;       // further rows that share the value, beyond OtherRow
    std::int32_t Value = 0; // the port, COM port or rate concerned
};

// What the check found in a list: every finding, by row, and each row's findings for a table.
// The check only reports; lists that hold such mappings are stored as they are.
class TPortCheckResult {
public:
    const std::vector<TPortFinding>& Findings() const { return FFindings; }
    bool Empty() const { return FFindings.empty(); }
    // The findings of one row (1 to the number of rows), in the order of TPortFindingKind.
    std::span<const TPortFinding> ForRow(int Row) const;
    // The number of rows with at least one finding.
    int RowsWithFindings() const { return FRowsWithFindings; }

private:
    friend TPortCheckResult CheckPorts(const TQ7NPorts& Ports);
    std::vector<TPortFinding> FFindings;
    std::vector<std::size_t> FRowStart; // FFindings[FRowStart[Row - 1] .. FRowStart[Row])
    int FRowsWithFindings = 0;
};

// What is wrong, without the row's own number, such as "local port 8080 is also used by row 3".
// Ports is the list that was checked. Control characters of the address are shown as \xNN.
std::string PortFindingText(const TPortFinding& Finding, const TQ7NPorts& Ports);
void AppendPortFindingText(std::string& Out, const TPortFinding& Finding, const TQ7NPorts& Ports);

// Checks every mapping and every pair of mappings in O(n log n).
TPortCheckResult CheckPorts(const TQ7NPorts& Ports);

// Four decimal numbers 0 to 255 joined by dots, without leading zeros (which some readers take
// as octal).
bool IsIPv4Address(std::string_view Text);
// A DNS host name: dot-separated labels of letters, digits and hyphens, 1 to 63 characters each,
// none beginning or ending with a hyphen, at most 253 characters, a last label that is not all
// digits; one trailing dot allowed.
bool IsHostName(std::string_view Text);

} // namespace q7n
