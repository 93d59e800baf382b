#pragma once

#include "windowing/win32/MessageTimer.h"

#include <windows.h>

#include <deque>
#include <functional>
#include <string>

namespace q7n::win32::test {

// Acts on the windows of the test's own thread as a user would, from a timer that ticks inside
// their modal loops: each step waits for a visible window with its title and runs its action on
// it. A window that does not come within the time limit fails the test, and every window of the
// thread is then closed so that no modal loop is left waiting.
class TWindowScript {
public:
    explicit TWindowScript(int TimeLimitMs = 10000) : FTimeLimit(TimeLimitMs) {}

    TWindowScript& Then(std::string Title, std::function<void(HWND)> Action);
    void Start();
    bool Finished() const { return FSteps.empty(); }

private:
    struct TStep {
        std::string Title;
        std::function<void(HWND)> Action;
    };
    void Tick();

    TMessageTimer FTimer;
    std::deque<TStep> FSteps;
    int FTimeLimit;
    ULONGLONG FStepStart = 0;
};

// The visible top-level window of this thread titled Title (UTF-8), or null.
HWND FindThreadWindow(const std::string& Title);
// Posts a key press to the control that has the focus (or to Window), as the keyboard would.
void PressKey(HWND Window, WPARAM Key);

} // namespace q7n::win32::test
