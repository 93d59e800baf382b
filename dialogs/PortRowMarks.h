#pragma once

#include "ports/PortConflicts.h"

#include <string>

namespace q7n {

// Which rows of the port table carry a mark for what the port check finds in them, and the tip
// that says what. Nothing is refused: the marks only tell. Rows count from 0, as the table's.
class TPortRowMarks {
public:
    // Checks Ports (not owned; none: no rows) anew, in O(n log n). Call it after every change of
    // the list: the marks of other rows may change with it.
    void Update(const TQ7NPorts* Ports);

    bool Marked(int Row) const { return !FResult.ForRow(Row + 1).empty(); }
    // "Row 2:" and then one line per finding, such as "local port 8080 is also used by row 1";
    // empty for a row without a mark.
    std::string Tip(int Row) const;

private:
    const TQ7NPorts* FPorts = nullptr;
    TPortCheckResult FResult;
};

} // namespace q7n
