#pragma once

#include "dialogs/PortRowMarks.h"
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

// The commands of the list editor, in the toolbar's order; a separator stands before Delete.
enum TPortListCommand { plcAdd, plcEdit, plcDelete, plcCount };

struct TPortListCommandLook {
    const char* Caption; // "&" marks the access key
    bool SeparatorBefore;
};

const TPortListCommandLook& PortListCommandLook(TPortListCommand Command);
// The command whose access key (with Alt) Letter is, in either case.
std::optional<TPortListCommand> PortListCommandOfKey(char Letter);

constexpr const char* DeleteQuestion = "Delete items?";

// A row that Add appends is scrolled into view, so that the user sees what was added.
constexpr bool AddedRowScrolledIntoView = true;

// The port list editor's state and decisions, whatever shows them: the working copy, one row per
// record in list order, what each row shows (texts, mark, tip) and the rules of its commands. A
// frontend shows what it says and forwards the user's commands. The caller's list is reached only
// through Execute.
class TPortListEditor {
public:
    TPortListEditor();

    // Edits a copy of Ports (an empty list when Ports is none): ShowModal shows the rows and runs
    // the dialog, answering true for OK; only OK copies the working list back into Ports.
    bool Execute(TQ7NPorts* Ports, const std::function<bool()>& ShowModal);
    // Takes a copy of Ports (none: an empty list) as the working list, as Execute does first.
    void Load(const TQ7NPorts* Ports);

    // What the marks ask of the machine besides the file's own checks (none: the file's checks
    // alone): once when the editor opens and once after each change of the list.
    void SetMachineCheck(IMachineCheck* Machine) { FMachine = Machine; }

    const TQ7NPorts& Ports() const { return *FPorts; }
    int Count() const { return FPorts->Count(); }
    // The record of Row; raises EListError outside the rows.
    const TQ7NPort& Port(int Row) const { return *FPorts->Items(Row); }

    // What Row shows: the text of each column, the mark of the port check and its tip.
    std::string CellText(int Row, TPortColumn Column) const;
    bool Marked(int Row) const { return FMarks.Marked(Row); }
    std::string Tip(int Row) const { return FMarks.Tip(Row); }
    // The line under the table, which tells a flagged row's findings without a tooltip (for the
    // keyboard, and where no tooltip is asked for): the findings of the first selected row that
    // has any, on one line, and how many more selected rows have some; empty when none has.
    std::string FindingsLine(const std::vector<int>& SelectedRows) const;

    // Port's values into the row at Index; a negative Index appends a record with them. Returns
    // the row. The marks of every row follow.
    int UpdateItem(int Index, const TQ7NPort& Port);

    // Edit: only when exactly one row is selected, EditPort runs the port editor on that row's
    // record (true for OK). Answers the row when it was edited, to be shown anew.
    std::optional<int> Edit(const std::vector<int>& SelectedRows,
                            const std::function<bool(TQ7NPort& Port)>& EditPort);
    // Delete asks first, through Confirm (true only for Yes), also when no row is selected. On Yes
    // it answers the rows of SelectedRows that exist, for DeleteRows; on No, none.
    std::vector<int> ConfirmDelete(std::vector<int> SelectedRows,
                                   const std::function<bool(const std::string& Question)>& Confirm);
    // Frees the records of Rows in one pass, the others keeping their order; rows outside the
    // table are passed over.
    void DeleteRows(std::vector<int> Rows);

private:
    std::unique_ptr<TQ7NPorts> FPorts;
    TPortRowMarks FMarks;
    IMachineCheck* FMachine = nullptr;
};

} // namespace q7n
