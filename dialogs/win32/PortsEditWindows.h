#pragma once

#include "service/PortsEditDialogs.h"

#include <windows.h>

namespace q7n::win32 {

// The windows of the ports edit flow: the port list editor, the boxes and the waits, modal over
// the main window.
class TPortsEditWindows final : public IPortsEditDialogs {
public:
    explicit TPortsEditWindows(HWND Parent = nullptr) : FParent(Parent) {}
    // The window over which they are modal, once it exists.
    void SetParent(HWND Parent) { FParent = Parent; }

    bool ExecutePortList(TQ7NPorts& Ports, IMachineCheck* Machine) override;
    bool Confirm(const std::string& Text) override;
    bool ConfirmOverwrite(const std::string& Text) override;
    void Warn(const std::string& Text) override;
    bool WaitModally(const std::function<bool(const platform::TLockPause&)>& Wait) override;

private:
    HWND FParent;
};

} // namespace q7n::win32
