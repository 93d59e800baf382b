#include "windowing/qt/ConfirmationBox.h"

#include "windowing/ConfirmationBoxContract.h"
#include "windowing/qt/CentredMessageBox.h"
#include "windowing/qt/QtConversions.h"

#include <QPushButton>

namespace q7n::qt {

QMessageBox::StandardButton ShowConfirmationBox(const QString& Text, QWidget* Parent) {
    TCentredMessageBox Box(QMessageBox::Question, ToQString(ConfirmationTitle), Text,
                           QMessageBox::NoButton, Parent);
    // Fixed captions and order: the platform theme would otherwise choose (and translate) them.
    QPushButton* Yes = nullptr;
    QPushButton* No = nullptr;
    for (const TConfirmButton& Shared : ConfirmationButtons)
        (Shared.Answer == TConfirmAnswer::caYes ? Yes : No) =
            Box.AddButtonInOrder(ToQString(Shared.Caption));
    Box.setDefaultButton(Yes);
    Box.setEscapeButton(No);
    Box.exec();
    return Box.clickedButton() == Yes ? QMessageBox::Yes : QMessageBox::No;
}

} // namespace q7n::qt
