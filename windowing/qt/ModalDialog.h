#pragma once

#include <QDialog>

namespace q7n::qt {

// The base of the configurator's modal dialogs. Such a dialog opens in the middle of the screen and
// is closed only by its buttons or its title bar (which counts as Cancel): Escape does nothing, and
// Enter presses only a button made the default.
class TModalDialog : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

    // Shows the dialog modally until it is closed; true only when it was closed with OK.
    bool ExecuteModal() { return exec() == QDialog::Accepted; }

protected:
    void keyPressEvent(QKeyEvent* Event) override;
    void showEvent(QShowEvent* Event) override;
};

} // namespace q7n::qt
