#pragma once

#include "base/Clock.h"
#include "base/Timer.h"

#include <cstdint>
#include <functional>

namespace q7n::cli {

// A timer served by the program's own loop: the loop asks when it is due next and fires it.
class TLoopTimer final : public ITimer {
public:
    explicit TLoopTimer(IMonotonicClock& Clock) : FClock(Clock) {}

    void SetInterval(int Milliseconds) override { FInterval = Milliseconds; }
    void SetHandler(std::function<void()> Handler) override { FHandler = std::move(Handler); }
    void SetEnabled(bool Enabled) override {
        FEnabled = Enabled;
        if (Enabled)
            FDueAt = FClock.NowMilliseconds() + FInterval;
    }
    bool Enabled() const override { return FEnabled; }

    // Milliseconds until the next tick (0 when due), or -1 when the timer is off.
    std::int64_t MillisecondsToNextTick() {
        if (!FEnabled)
            return -1;
        std::int64_t Left = FDueAt - FClock.NowMilliseconds();
        return Left > 0 ? Left : 0;
    }

    void FireIfDue() {
        if (FEnabled && FHandler && MillisecondsToNextTick() == 0) {
            FDueAt += FInterval;
            FHandler();
        }
    }

private:
    IMonotonicClock& FClock;
    std::function<void()> FHandler;
    int FInterval = 1000;
    bool FEnabled = false;
    std::int64_t FDueAt = 0;
};

} // namespace q7n::cli
