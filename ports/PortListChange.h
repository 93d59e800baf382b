#pragma once

#include "ports/Q7NPort.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace q7n {

// The five values of one mapping, as plain data to compare and to carry.
struct TPortValues {
    std::string IP;
    std::int32_t RemotePort = 0;
    std::int32_t LocalPort = 0;
    std::int32_t COMPort = 1;
    std::int32_t Rate = 9600;

    bool operator==(const TPortValues&) const = default;
};

std::vector<TPortValues> PortValuesOf(const TQ7NPorts& Ports);

// Makes Ports hold exactly Values, in their order.
void AssignPortValues(TQ7NPorts& Ports, const std::vector<TPortValues>& Values);

enum TPortChangeKind { pcAdded, pcRemoved, pcChanged };

// What turns one row of a list into the row of another at the same place. Rows count from 1.
struct TPortChange {
    TPortChangeKind Kind = pcChanged;
    int Row = 0;
    std::optional<TPortValues> Before; // none for an added row
    std::optional<TPortValues> After;  // none for a removed row
};

// The rows that differ between Before and After, compared by place (a new order is a change),
// in row order: the rows both have that differ, then those After adds or Before loses.
std::vector<TPortChange> PortListChanges(const std::vector<TPortValues>& Before,
                                         const std::vector<TPortValues>& After);

} // namespace q7n
