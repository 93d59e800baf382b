#pragma once

#include "windowing/win32/MessageTimer.h"

#include <windows.h>

#include <atomic>
#include <deque>
#include <functional>
#include <string>
#include <thread>

namespace q7n::win32::test {

// Acts on the windows of the test's own thread as a user would, from a timer that ticks inside
// their modal loops: each step waits for a visible window with its title (and, for ThenWhen, for
// its condition) and runs its action on it. A step that does not come within the time limit fails
// the test, and every window of the thread is then closed so that no modal loop is left waiting.
// The limit is kept by a thread of its own, so that it holds also when a loop stops delivering
// timer messages, the script's own included.
class TWindowScript {
public:
    explicit TWindowScript(int TimeLimitMs = 10000);
    ~TWindowScript(); // a step that timed out fails the test here
    TWindowScript(const TWindowScript&) = delete;
    TWindowScript& operator=(const TWindowScript&) = delete;

    TWindowScript& Then(std::string Title, std::function<void(HWND)> Action);
    // A step that waits besides for Ready to hold, asked at each of the script's ticks.
    TWindowScript& ThenWhen(std::string Title, std::function<bool()> Ready,
                            std::function<void(HWND)> Action);
    void Start();
    bool Finished() const;

private:
    struct TStep {
        std::string Title;
        std::function<bool()> Ready;
        std::function<void(HWND)> Action;
    };
    void Tick();
    void Watch(const std::stop_token& Stop);

    TMessageTimer FTimer;
    std::deque<TStep> FSteps;
    const int FTimeLimit;
    const DWORD FThread;
    // Shared with the watchdog: when the step under way began (0: none is).
    std::atomic<ULONGLONG> FStepStart = 0;
    std::atomic<bool> FTimedOut = false;
    std::jthread FWatchdog;
};

// The visible top-level window of this thread titled Title (UTF-8), or null.
HWND FindThreadWindow(const std::string& Title);
// Posts a key press to the control that has the focus (or to Window), as the keyboard would.
void PressKey(HWND Window, WPARAM Key);

} // namespace q7n::win32::test
