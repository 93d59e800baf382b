#include "dialogs/qt/PortsEditWindows.h"

#include "dialogs/PortDialogLook.h"
#include "dialogs/qt/Q7NPortsDialog.h"
#include "windowing/ErrorBoxText.h"
#include "windowing/qt/ApplicationTitle.h"
#include "windowing/qt/CentredMessageBox.h"
#include "windowing/qt/ConfirmationBox.h"
#include "windowing/qt/ModalWait.h"
#include "windowing/qt/OverwriteBox.h"
#include "windowing/qt/PathWrapping.h"
#include "windowing/qt/QtConversions.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace q7n::qt {

bool TPortsEditWindows::ExecutePortList(TQ7NPorts& Ports, IMachineCheck* Machine) {
    TdlgQ7NPorts Editor(PortListEditorOverItsCaller ? FParent : nullptr);
    Editor.SetMachineCheck(Machine);
    return Editor.Execute(&Ports);
}

bool TPortsEditWindows::Confirm(const std::string& Text) {
    return ShowConfirmationBox(QString::fromStdString(Text), FParent) == QMessageBox::Yes;
}

bool TPortsEditWindows::ConfirmOverwrite(const std::string& Text) {
    return ShowOverwriteBox(QString::fromStdString(Text), FParent);
}

void TPortsEditWindows::Warn(const std::string& Text) {
    TCentredMessageBox Box(QMessageBox::Warning, ApplicationTitle(),
                           WrapPathsAtSeparators(QString::fromStdString(Text)), QMessageBox::Ok,
                           FParent);
    Box.button(QMessageBox::Ok)->setText(ToQString(ErrorBoxOkCaption));
    Box.exec();
}

bool TPortsEditWindows::WaitModally(const std::function<bool(const platform::TLockPause&)>& Wait) {
    return q7n::qt::WaitModally(FParent, Wait);
}

} // namespace q7n::qt
