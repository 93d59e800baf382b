#pragma once

#include <functional>

namespace q7n {

// A repeating timer delivered on the GUI thread; the GUI gives it a toolkit timer, tests drive
// it by hand. Enabling it (again) restarts the interval.
class ITimer {
public:
    virtual ~ITimer() = default;
    virtual void SetInterval(int Milliseconds) = 0;
    virtual void SetHandler(std::function<void()> Handler) = 0;
    virtual void SetEnabled(bool Enabled) = 0;
    virtual bool Enabled() const = 0;
};

} // namespace q7n
