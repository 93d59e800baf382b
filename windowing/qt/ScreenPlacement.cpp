#include "windowing/qt/ScreenPlacement.h"

#include <QScreen>
#include <QWidget>

namespace q7n::qt {

void CentreOnScreen(QWidget& Window) {
    QScreen* Screen = Window.screen();
    if (!Screen)
        return;
    QRect Frame = Window.frameGeometry();
    Frame.moveCenter(Screen->availableGeometry().center());
    Window.move(Frame.topLeft());
}

void ResizeFrameTo(QWidget& Window, const QSize& Outer) {
    const QSize Frame = Window.frameGeometry().size() - Window.size();
    Window.resize(Outer - Frame);
}

} // namespace q7n::qt
