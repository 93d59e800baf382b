#pragma once

#include "dialogs/PortFields.h"
#include "ports/Q7NPort.h"
#include "windowing/win32/Dialog.h"

#include <memory>

namespace q7n::win32 {

// The dialog that edits one port mapping on a private record, FPort, which it passes on only
// when the user closes it with OK.
class TdlgQ7NPort final : public TModalDialog {
public:
    TdlgQ7NPort();
    ~TdlgQ7NPort() override;

    // Edits a copy of Port, or of the default values when Port is none, modally over Parent, and
    // copies the result back into Port when the user closes the dialog with OK. True only for OK.
    bool Execute(TQ7NPort* Port, HWND Parent);
    // The working record; after an Execute that returned true, what the user confirmed.
    const TQ7NPort& Port() const { return *FPort; }

protected:
    bool OnInit() override;
    bool OnCommand(int Code, int Id, HWND Control) override;
    void OnOK() override {} // Enter presses no button

private:
    void FormCreate();
    void PortToControls();
    // Failed names the field whose value could not be taken over.
    void btnOKClick(TPortField& Failed);

    std::unique_ptr<TQ7NPort> FPort;
};

} // namespace q7n::win32
