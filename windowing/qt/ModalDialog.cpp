#include "windowing/qt/ModalDialog.h"

#include "windowing/qt/ScreenPlacement.h"

#include <QKeyEvent>

namespace q7n::qt {

void TModalDialog::keyPressEvent(QKeyEvent* Event) {
    if (Event->matches(QKeySequence::Cancel)) {
        Event->accept(); // QDialog would reject
        return;
    }
    QDialog::keyPressEvent(Event);
}

void TModalDialog::showEvent(QShowEvent* Event) {
    QDialog::showEvent(Event);
    if (!Event->spontaneous()) // not when the window system shows it again
        CentreOnScreen(*this);
}

} // namespace q7n::qt
