#include "windowing/qt/PushButton.h"

#include <QKeyEvent>

namespace q7n {

void TPushButton::keyPressEvent(QKeyEvent* Event) {
    bool Enter = Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter;
    if (!Enter || (Event->modifiers() & ~Qt::KeypadModifier) || autoDefault() || isDefault()) {
        QPushButton::keyPressEvent(Event); // a default button presses itself
        return;
    }
    Event->accept();
    if (!Event->isAutoRepeat()) // a held key presses once
        click();
}

} // namespace q7n
