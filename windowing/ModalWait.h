#pragma once

#include <chrono>
#include <functional>

namespace q7n {

// A modal wait, as each toolkit's WaitModally runs one: the window it is modal over is disabled
// meanwhile, so that nothing of it can be pressed, and the waiting code spends each of its pauses
// through the pause it is given, which delivers the GUI thread's events for that long (its timers
// tick on). The wait answers what the waiting code answers.
using TModalPause = std::function<void(std::chrono::milliseconds)>;
using TModalWaiting = std::function<bool(const TModalPause&)>;

} // namespace q7n
