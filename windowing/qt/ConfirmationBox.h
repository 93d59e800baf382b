#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

namespace q7n::qt {

// Asks Text as ConfirmationBoxContract.h promises; modal over Parent when given. Returns
// QMessageBox::Yes or QMessageBox::No.
QMessageBox::StandardButton ShowConfirmationBox(const QString& Text, QWidget* Parent = nullptr);

} // namespace q7n::qt
