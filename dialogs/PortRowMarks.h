#pragma once

#include "ports/MachineFinding.h"
#include "ports/PortConflicts.h"

#include <span>
#include <string>
#include <vector>

namespace q7n {

// Which rows of the port table carry a mark for what the port check, and the machine when it is
// asked, find in them, and the tip that says what. Nothing is refused: the marks only tell. Rows
// count from 0, as the table's.
class TPortRowMarks {
public:
    // Checks Ports (not owned; none: no rows) anew, in O(n log n), and asks Machine (none: the
    // file's checks alone) once. Call it after every change of the list: the marks of other rows
    // may change with it.
    void Update(const TQ7NPorts* Ports, IMachineCheck* Machine = nullptr);

    bool Marked(int Row) const;
    // "Row 2:" and then one line per finding, such as "local port 8080 is also used by row 1";
    // empty for a row without a mark.
    std::string Tip(int Row) const;

private:
    std::span<const TMachineFinding> MachineFindings(int Row) const;

    const TQ7NPorts* FPorts = nullptr;
    TPortCheckResult FResult;
    std::vector<TMachineFinding> FMachineFindings; // sorted by row
};

} // namespace q7n
