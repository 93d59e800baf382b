#include "CentredMessageBox.h"

#include "ScreenPlacement.h"

#include "PathWrapping.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QShowEvent>

namespace q7n {

void TCentredMessageBox::showEvent(QShowEvent* Event) {
    // The box takes its final size while it is being shown, so it is placed only then.
    QMessageBox::showEvent(Event);
    if (!Event->spontaneous()) // not when the window system shows it again
        CentreOnScreen(*this);
}

void TCentredMessageBox::keyPressEvent(QKeyEvent* Event) {
    QMessageBox::keyPressEvent(Event);
    if (Event->matches(QKeySequence::Copy)) {
        QClipboard* Clipboard = QGuiApplication::clipboard();
        Clipboard->setText(WithoutWrapMarks(Clipboard->text()));
    }
}

} // namespace q7n
