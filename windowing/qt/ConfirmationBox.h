#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

namespace q7n {

// Asks Text under the title "Confirm" with a question icon and the buttons "&Yes" (the default:
// Enter) and "&No" (Escape, and closing the box), centred on the screen; modal over Parent when
// given. Returns QMessageBox::Yes or QMessageBox::No; only Yes is consent.
QMessageBox::StandardButton ShowConfirmationBox(const QString& Text, QWidget* Parent = nullptr);

} // namespace q7n
