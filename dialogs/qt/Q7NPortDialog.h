#pragma once

#include "dialogs/PortEditor.h"
#include "windowing/qt/ModalDialog.h"

#include <array>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace q7n::qt {

// The dialog that edits one port mapping on a private record, FPort, which it passes on only when
// the user closes it with OK.
class TdlgQ7NPort : public TModalDialog {
    Q_OBJECT
public:
    explicit TdlgQ7NPort(QWidget* Parent = nullptr);
    ~TdlgQ7NPort() override;

    // Edits a copy of Port, or of the default values when Port is none, and copies the result
    // back into Port when the user closes the dialog with OK. True only for OK.
    bool Execute(TQ7NPort* Port);
    // The working record; after an Execute that returned true, what the user confirmed.
    const TQ7NPort& Port() const { return FEditor.Port(); }

private:
    void CreateControls();
    void FormCreate();
    void PortToControls();
    void btnOKClick();

    TPortEditor FEditor;
    std::array<QWidget*, PortFieldCount> FFieldControls; // in the order of TPortField
    QLineEdit* edtIP;
    QLineEdit* edtRPort;
    QLineEdit* edtLPort;
    QComboBox* cbbCOMPort;
    QComboBox* cbbRate;
    QPushButton* btnOK;
    QPushButton* btnCancel;
};

} // namespace q7n::qt
