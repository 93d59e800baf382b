#pragma once

#include "base/Timer.h"

#include <windows.h>

#include <functional>

namespace q7n::win32 {

// The configurator's timer as a system message timer (SetTimer) on a message-only window of the
// calling thread. WM_TIMER comes through every message loop of that thread, the loops of modal
// dialogs and message boxes included. Enabling it (again) starts a full interval from that
// moment, so a handler that disables it first and enables it at its end is next called a full
// interval after it ended.
class TMessageTimer final : public ITimer {
public:
    TMessageTimer();
    ~TMessageTimer() override;
    TMessageTimer(const TMessageTimer&) = delete;
    TMessageTimer& operator=(const TMessageTimer&) = delete;

    void SetInterval(int Milliseconds) override;
    void SetHandler(std::function<void()> Handler) override { FHandler = std::move(Handler); }
    void SetEnabled(bool Enabled) override;
    bool Enabled() const override { return FEnabled; }

private:
    static LRESULT CALLBACK WindowProc(HWND Window, UINT Message, WPARAM W, LPARAM L);
    HWND FWindow = nullptr;
    int FInterval = 1000;
    bool FEnabled = false;
    std::function<void()> FHandler;
};

} // namespace q7n::win32
