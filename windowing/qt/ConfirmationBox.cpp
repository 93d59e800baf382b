#include "ConfirmationBox.h"

#include "CentredMessageBox.h"

#include <QAbstractButton>

namespace q7n {

QMessageBox::StandardButton ShowConfirmationBox(const QString& Text, QWidget* Parent) {
    TCentredMessageBox Box(QMessageBox::Question, QStringLiteral("Confirm"), Text,
                           QMessageBox::Yes | QMessageBox::No, Parent);
    // Fixed captions: the platform theme would otherwise choose (and translate) them.
    QAbstractButton* Yes = Box.button(QMessageBox::Yes);
    QAbstractButton* No = Box.button(QMessageBox::No);
    Yes->setText(QStringLiteral("&Yes"));
    No->setText(QStringLiteral("&No"));
    Box.setDefaultButton(QMessageBox::Yes);
    Box.setEscapeButton(QMessageBox::No);
    Box.exec();
    return Box.clickedButton() == Yes ? QMessageBox::Yes : QMessageBox::No;
}

} // namespace q7n
