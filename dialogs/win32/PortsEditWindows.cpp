#include "dialogs/win32/PortsEditWindows.h"

#include "dialogs/win32/Q7NPortsDialog.h"
#include "windowing/ApplicationIdentity.h"
#include "windowing/win32/ConfirmationBox.h"
#include "windowing/win32/MessageDialog.h"
#include "windowing/win32/OverwriteBox.h"

namespace q7n::win32 {

bool TPortsEditWindows::ExecutePortList(TQ7NPorts& Ports) {
    TdlgQ7NPorts Editor;
    return Editor.Execute(&Ports, FParent);
}

bool TPortsEditWindows::Confirm(const std::string& Text) {
    return ShowConfirmationBox(Text, FParent) == TConfirmAnswer::caYes;
}

bool TPortsEditWindows::ConfirmOverwrite(const std::string& Text) {
    return ShowOverwriteBox(Text, FParent);
}

void TPortsEditWindows::Warn(const std::string& Text) {
    TMessageDialog Box(std::string(ApplicationTitle), Text, IDI_WARNING, {{IDOK, "OK"}}, IDOK);
    Box.Show(FParent);
}

} // namespace q7n::win32
