#include "dialogs/PortEditor.h"

#include "dialogs/PrivateCopyExecute.h"

namespace q7n {

TPortEditor::TPortEditor() : FPort(TXMLClass::Create<TQ7NPort>(nullptr)) {}

TPortEditor::~TPortEditor() = default;

bool TPortEditor::Execute(TQ7NPort* Port, const std::function<bool()>& ShowModal) {
    return ExecuteOnPrivateCopy(*FPort, Port, ShowModal);
}

void TPortEditor::TakeOver(const TPortFields& Fields) {
    FieldsToPort(Fields, *FPort, &FFailed);
}

} // namespace q7n
