#include "windowing/qt/ErrorBox.h"

#include "windowing/ErrorBoxText.h"
#include "windowing/qt/ApplicationTitle.h"
#include "windowing/qt/CentredMessageBox.h"
#include "windowing/qt/QtConversions.h"

#include <QAbstractButton>
#include <QApplication>

namespace q7n::qt {

void ShowErrorBox(const QString& Message, QWidget* Parent) {
    TCentredMessageBox Box(QMessageBox::Critical, ApplicationTitle(),
                           ToQString(ErrorBoxText(Message.toStdString())), QMessageBox::Ok, Parent);
    Box.button(QMessageBox::Ok)->setText(ToQString(ErrorBoxOkCaption));
    if (ErrorBoxBeeps)
        QApplication::beep();
    Box.exec();
}

} // namespace q7n::qt
