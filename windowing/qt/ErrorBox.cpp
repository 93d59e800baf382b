#include "windowing/qt/ErrorBox.h"

#include "windowing/ErrorBoxText.h"
#include "windowing/qt/ApplicationTitle.h"
#include "windowing/qt/CentredMessageBox.h"
#include "windowing/qt/QtConversions.h"

#include <QAbstractButton>

namespace q7n::qt {

void ShowErrorBox(const QString& Message, QWidget* Parent) {
    TCentredMessageBox Box(QMessageBox::Critical, ApplicationTitle(),
                           ToQString(ErrorBoxText(Message.toStdString())), QMessageBox::Ok, Parent);
    Box.button(QMessageBox::Ok)->setText(ToQString(ErrorBoxOkCaption));
    Box.exec();
}

} // namespace q7n::qt
