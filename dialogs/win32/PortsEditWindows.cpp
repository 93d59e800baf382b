#include "PortsEditWindows.h"

#include "ApplicationIdentity.h"
#include "ConfirmationBox.h"
#include "MessageDialog.h"
#include "OverwriteBox.h"
#include "Q7NPortsDialog.h"

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
