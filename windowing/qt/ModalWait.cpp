#include "windowing/qt/ModalWait.h"

#include <QEventLoop>
#include <QTimer>
#include <QWidget>

namespace q7n::qt {

bool WaitModally(QWidget* Over, const TModalWaiting& Waiting) {
    struct TDisabled {
        QWidget* Window;
        ~TDisabled() {
            if (Window)
                Window->setEnabled(true);
        }
    } Disabled{Over && Over->isEnabled() ? Over : nullptr};
    if (Disabled.Window)
        Disabled.Window->setEnabled(false);
    return Waiting([](std::chrono::milliseconds Pause) {
        QEventLoop Loop;
        QTimer::singleShot(Pause, &Loop, &QEventLoop::quit);
        Loop.exec();
    });
}

} // namespace q7n::qt
