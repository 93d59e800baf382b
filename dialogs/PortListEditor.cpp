#include "dialogs/PortListEditor.h"

#include "dialogs/AccessKey.h"
#include "dialogs/PortChoices.h"
#include "dialogs/PrivateCopyExecute.h"

#include <algorithm>

namespace q7n {

namespace {

constexpr TPortColumnLook Columns[pcCount] = {
    {"IP", 140, false},     {"Remoute port", 100, true}, {"Local port", 100, true},
    {"COM port", 80, true}, {"COM rate", 80, true},
};

constexpr TPortListCommandLook Commands[plcCount] = {
    {"&Add", false}, {"&Edit", false}, {"&Delete", true}};

} // namespace

const TPortListCommandLook& PortListCommandLook(TPortListCommand Command) {
    return Commands[Command];
}

std::optional<TPortListCommand> PortListCommandOfKey(char Letter) {
    const char Key = AccessKeyOf(std::string{'&', Letter});
    for (int Command = 0; Command < plcCount; ++Command)
        if (Key && AccessKeyOf(Commands[Command].Caption) == Key)
            return TPortListCommand(Command);
    return std::nullopt;
}

const TPortColumnLook& PortColumnLook(TPortColumn Column) {
    return Columns[Column];
}

std::string PortColumnText(const TQ7NPort& Port, TPortColumn Column) {
    switch (Column) {
    case pcIP:
        return Port.IP();
    case pcRemoutePort:
        return std::to_string(Port.RemoutePort());
    case pcLocalPort:
        return std::to_string(Port.LocalPort());
    case pcCOMPort:
        return COMPortText(Port.COMPort());
    case pcCpRate:
        return std::to_string(Port.CpRate());
    default:
        return {};
    }
}

TPortListEditor::TPortListEditor() : FPorts(TXMLClass::Create<TQ7NPorts>(nullptr)) {}

bool TPortListEditor::Execute(TQ7NPorts* Ports, const std::function<bool()>& ShowModal) {
    return ExecuteOnPrivateCopy(*FPorts, Ports, [&] {
        FMarks.Update(FPorts.get(), FMachine);
        return ShowModal();
    });
}

void TPortListEditor::Load(const TQ7NPorts* Ports) {
    if (Ports)
        FPorts->CopyFrom(Ports);
    else
        FPorts->SetDefaults();
    FMarks.Update(FPorts.get(), FMachine);
}

std::string TPortListEditor::CellText(int Row, TPortColumn Column) const {
    return PortColumnText(Port(Row), Column);
}

std::string TPortListEditor::FindingsLine(const std::vector<int>& SelectedRows) const {
    std::string Line;
    int MoreRows = 0;
    for (int Row : SelectedRows) {
        if (!Marked(Row))
            continue;
        if (!Line.empty()) {
            ++MoreRows;
            continue;
        }
        // "Row 3:\nfirst\nsecond" becomes "Row 3: first; second".
        Line = Tip(Row);
        const std::size_t Colon = Line.find(":\n");
        Line.replace(Colon, 2, ": ");
        for (std::size_t Break; (Break = Line.find('\n')) != std::string::npos;)
            Line.replace(Break, 1, "; ");
    }
    if (MoreRows > 0)
        Line += " (" + std::to_string(MoreRows) + " more selected " +
                (MoreRows == 1 ? "row has" : "rows have") + " findings)";
    return Line;
}

int TPortListEditor::UpdateItem(int Index, const TQ7NPort& Port) {
    if (Index < 0) {
        FPorts->Add()->CopyFrom(&Port);
        Index = FPorts->Count() - 1;
    } else {
        FPorts->Items(Index)->CopyFrom(&Port); // nothing when Port is the row's own record
    }
    FMarks.Update(FPorts.get(), FMachine); // a change of one row can mark or clear others
    return Index;
}

std::optional<int> TPortListEditor::Edit(const std::vector<int>& SelectedRows,
                                         const std::function<bool(TQ7NPort& Port)>& EditPort) {
    if (SelectedRows.size() != 1)
        return std::nullopt;
    TQ7NPort& Edited = *FPorts->Items(SelectedRows.front());
    if (!EditPort(Edited))
        return std::nullopt;
    return UpdateItem(SelectedRows.front(), Edited);
}

std::vector<int>
TPortListEditor::ConfirmDelete(std::vector<int> SelectedRows,
                               const std::function<bool(const std::string& Question)>& Confirm) {
    if (!Confirm(DeleteQuestion))
        return {};
    std::erase_if(SelectedRows, [this](int Row) { return Row < 0 || Row >= FPorts->Count(); });
    return SelectedRows;
}

void TPortListEditor::DeleteRows(std::vector<int> Rows) {
    std::erase_if(Rows, [this](int Row) { return Row < 0 || Row >= FPorts->Count(); });
    if (Rows.empty())
        return;
    FPorts->Delete(std::move(Rows));
    FMarks.Update(FPorts.get(), FMachine);
}

} // namespace q7n
