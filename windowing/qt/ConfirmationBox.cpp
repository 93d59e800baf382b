#include "windowing/qt/ConfirmationBox.h"

#include "windowing/ConfirmationBoxContract.h"
#include "windowing/qt/CentredMessageBox.h"
#include "windowing/qt/QtConversions.h"

#include <QAbstractButton>

namespace q7n::qt {

QMessageBox::StandardButton ShowConfirmationBox(const QString& Text, QWidget* Parent) {
    TCentredMessageBox Box(QMessageBox::Question, ToQString(ConfirmationTitle), Text,
                           QMessageBox::Yes | QMessageBox::No, Parent);
    // Fixed captions: the platform theme would otherwise choose (and translate) them.
    QAbstractButton* Yes = Box.button(QMessageBox::Yes);
    QAbstractButton* No = Box.button(QMessageBox::No);
    Yes->setText(ToQString(ConfirmationYesCaption));
    No->setText(ToQString(ConfirmationNoCaption));
    Box.setDefaultButton(QMessageBox::Yes);
    Box.setEscapeButton(QMessageBox::No);
    Box.exec();
    return Box.clickedButton() == Yes ? QMessageBox::Yes : QMessageBox::No;
}

} // namespace q7n::qt
