#pragma once

#include "ports/Q7NPort.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace q7n {

// The columns of the port table.
enum TPortColumn { pcIP, pcRemoutePort, pcLocalPort, pcCOMPort, pcCpRate, pcCount };

struct TPortColumnLook {
    const char* Caption;
    int Width;
    bool Centred; // otherwise left-aligned
};

const TPortColumnLook& PortColumnLook(TPortColumn Column);
// What the table shows of Port in Column.
std::string PortColumnText(const TQ7NPort& Port, TPortColumn Column);

constexpr const char* DeleteQuestion = "Delete items?";

// The working copy of the port list editor and its rules, whatever shows them: one row per record,
// in list order. The caller's list is reached only through Execute.
class TPortListEditor {
public:
    TPortListEditor();

    // Edits a copy of Ports (an empty list when Ports is none): ShowModal shows the rows and runs
    // the dialog, answering true for OK; only OK copies the working list back into Ports.
    bool Execute(TQ7NPorts* Ports, const std::function<bool()>& ShowModal);

    TQ7NPorts& Ports() { return *FPorts; }
    int Count() const { return FPorts->Count(); }
    // The record of Row; raises EListError outside the rows.
    TQ7NPort& Port(int Row) const { return *FPorts->Items(Row); }

    // Appends a record with Source's values; returns its row, the last.
    int Add(const TQ7NPort& Source);

    // Edit: only when exactly one row is selected, EditPort runs the port editor on that row's
    // record (true for OK). Answers the row when it was edited, to be shown anew.
    std::optional<int> Edit(const std::vector<int>& SelectedRows,
                            const std::function<bool(TQ7NPort& Port)>& EditPort);

    // Delete asks first, through Confirm (true only for Yes), also when no row is selected; only
    // Yes consents.
    static bool ConfirmDelete(const std::function<bool(const std::string&)>& Confirm);
    // Frees the records of Rows in one pass, the others keeping their order; rows outside the
    // table are passed over.
    void DeleteRows(std::vector<int> Rows);

private:
    std::unique_ptr<TQ7NPorts> FPorts;
};

} // namespace q7n
