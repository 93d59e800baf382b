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

} // namespace q7n::qt
