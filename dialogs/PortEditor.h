#pragma once

#include "dialogs/PortFields.h"
#include "ports/Q7NPort.h"

#include <functional>
#include <memory>

namespace q7n {

// The port editor's state and decisions, whatever shows it: the working record, what its fields
// show, and OK's taking-over with the field the user is sent back to when it fails. A frontend
// keeps its field controls in the order of TPortField and only shows and forwards.
class TPortEditor {
public:
    TPortEditor();
    ~TPortEditor();

    // Edits a copy of Port (the defaults when Port is none): ShowModal shows Fields() and runs the
    // dialog, answering true for OK; only OK copies the working record back into Port.
    bool Execute(TQ7NPort* Port, const std::function<bool()>& ShowModal);
    // The working record; after an Execute that returned true, what the user confirmed.
    const TQ7NPort& Port() const { return *FPort; }

    // What the controls show of the working record.
    TPortFields Fields() const { return PortToFields(*FPort); }

    // OK: takes Fields over into the working record, raising as FieldsToPort does; FailedField()
    // then names the field whose control takes the focus again, its text selected.
    void TakeOver(const TPortFields& Fields);
    TPortField FailedField() const { return FFailed; }

private:
    std::unique_ptr<TQ7NPort> FPort;
    TPortField FFailed = TPortField::pfIP;
};

} // namespace q7n
