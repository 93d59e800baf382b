#include "dialogs/PortListEditor.h"

#include "dialogs/PortChoices.h"
#include "dialogs/PrivateCopyExecute.h"

#include <algorithm>

namespace q7n {

namespace {

constexpr TPortColumnLook Columns[pcCount] = {
    {"IP", 140, false},     {"Remoute port", 100, true}, {"Local port", 100, true},
    {"COM port", 80, true}, {"COM rate", 80, true},
};

} // namespace

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
    return ExecuteOnPrivateCopy(*FPorts, Ports, ShowModal);
}

int TPortListEditor::Add(const TQ7NPort& Source) {
    FPorts->Add()->CopyFrom(&Source);
    return FPorts->Count() - 1;
}

std::optional<int> TPortListEditor::Edit(const std::vector<int>& SelectedRows,
                                         const std::function<bool(TQ7NPort& Port)>& EditPort) {
    if (SelectedRows.size() != 1 || !EditPort(Port(SelectedRows.front())))
        return std::nullopt;
    return SelectedRows.front();
}

bool TPortListEditor::ConfirmDelete(const std::function<bool(const std::string&)>& Confirm) {
    return Confirm(DeleteQuestion);
}

void TPortListEditor::DeleteRows(std::vector<int> Rows) {
    std::erase_if(Rows, [this](int Row) { return Row < 0 || Row >= FPorts->Count(); });
    FPorts->Delete(std::move(Rows));
}

} // namespace q7n
