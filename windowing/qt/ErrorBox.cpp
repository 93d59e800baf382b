#include "ErrorBox.h"

#include "ApplicationTitle.h"
#include "CentredMessageBox.h"

#include <QAbstractButton>

namespace q7n {

QString ErrorBoxText(const QString& Message) {
    if (!Message.isEmpty() && Message.back() > QLatin1Char('.'))
        return Message + QLatin1Char('.');
    return Message;
}

void ShowErrorBox(const QString& Message, QWidget* Parent) {
    TCentredMessageBox Box(QMessageBox::Critical, ApplicationTitle(), ErrorBoxText(Message),
                           QMessageBox::Ok, Parent);
    Box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    Box.exec();
}

} // namespace q7n
