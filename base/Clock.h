#pragma once

#include <chrono>
#include <cstdint>

namespace q7n {

// Elapsed time for the configurator's waits. A monotonic clock, so that changes of the wall
// clock (daylight saving, a time sync) never shorten or stretch a wait.
class IMonotonicClock {
public:
    virtual std::int64_t NowMilliseconds() = 0;

protected:
    ~IMonotonicClock() = default;
};

// The system's steady clock.
class TSteadyClock final : public IMonotonicClock {
public:
    std::int64_t NowMilliseconds() override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};

} // namespace q7n
