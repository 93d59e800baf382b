#pragma once

#include "base/Clock.h"
#include "base/Timer.h"

#include <cstdint>
#include <functional>

// Time and ticks under a test's control, for the code that runs on the configurator's timer.
namespace q7n::testing {

class TFakeClock final : public IMonotonicClock {
public:
    std::int64_t Now = 1000000;
    std::int64_t NowMilliseconds() override { return Now; }
};

// A timer fired by hand; it remembers whether it was enabled while its handler ran.
class TManualTimer final : public ITimer {
public:
    void SetInterval(int Milliseconds) override { Interval = Milliseconds; }
    void SetHandler(std::function<void()> Value) override { Handler = std::move(Value); }
    void SetEnabled(bool Value) override { IsEnabled = Value; }
    bool Enabled() const override { return IsEnabled; }

    int Interval = 0;
    bool IsEnabled = false;
    std::function<void()> Handler;
};

} // namespace q7n::testing
