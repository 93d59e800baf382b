#pragma once

#include <QMessageBox>

namespace q7n::qt {

// A message box that opens in the middle of the screen rather than over its parent window.
class TCentredMessageBox : public QMessageBox {
    Q_OBJECT
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* Event) override;
};

} // namespace q7n::qt
