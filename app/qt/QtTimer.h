#pragma once

#include "base/Timer.h"

#include <QTimer>
#include <functional>

namespace q7n::qt {

// The configurator's timer on Qt's event loop. Its events come through every event loop of the
// GUI thread, the nested ones of modal dialogs and message boxes included.
class TQtTimer final : public ITimer {
public:
    TQtTimer() {
        // A coarse timer may fire up to 5 % early, to fall in with other timers: ticks then come
        // 95 ms apart and polls meet the 500 ms rule a tick late.
        FTimer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&FTimer, &QTimer::timeout, [this] {
            if (FHandler)
                FHandler();
        });
    }

    void SetInterval(int Milliseconds) override { FTimer.setInterval(Milliseconds); }
    void SetHandler(std::function<void()> Handler) override { FHandler = std::move(Handler); }
    void SetEnabled(bool Enabled) override {
        if (Enabled)
            FTimer.start(); // (re)starts the interval
        else
            FTimer.stop();
    }
    bool Enabled() const override { return FTimer.isActive(); }

private:
    QTimer FTimer;
    std::function<void()> FHandler;
};

} // namespace q7n::qt
