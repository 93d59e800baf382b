#include "CentredMessageBox.h"

#include "ScreenPlacement.h"

#include <QShowEvent>

namespace q7n::qt {

void TCentredMessageBox::showEvent(QShowEvent* Event) {
    // The box takes its final size while it is being shown, so it is placed only then.
    QMessageBox::showEvent(Event);
    if (!Event->spontaneous()) // not when the window system shows it again
        CentreOnScreen(*this);
}

} // namespace q7n::qt
