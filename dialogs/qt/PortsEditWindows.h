#pragma once

#include "service/PortsEditDialogs.h"

class QWidget;

namespace q7n::qt {

// The windows of the ports edit: the port list editor, the confirmation box, the box that asks
// before an overwrite, a warning box under the application title and the waits, modal over the
// main window.
class TPortsEditWindows final : public IPortsEditDialogs {
public:
    // The window over which they are modal, once it exists.
    void SetParent(QWidget* Parent) { FParent = Parent; }

    bool ExecutePortList(TQ7NPorts& Ports, IMachineCheck* Machine) override;
    bool Confirm(const std::string& Text) override;
    bool ConfirmOverwrite(const std::string& Text) override;
    void Warn(const std::string& Text) override;
    bool WaitModally(const std::function<bool(const platform::TLockPause&)>& Wait) override;

private:
    QWidget* FParent = nullptr;
};

} // namespace q7n::qt
