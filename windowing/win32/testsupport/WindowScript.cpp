#include "windowing/win32/testsupport/WindowScript.h"

#include "windowing/win32/Window.h"

#include <gtest/gtest.h>

namespace q7n::win32::test {

namespace {

struct TSearch {
    const std::string* Title;
    HWND Found;
};

BOOL CALLBACK MatchWindow(HWND Window, LPARAM Search) {
    auto& S = *reinterpret_cast<TSearch*>(Search);
    if (IsWindowVisible(Window) && TWindow(Window).Text() == *S.Title) {
        S.Found = Window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CloseWindow(HWND Window, LPARAM) {
    if (IsWindowVisible(Window))
        PostMessageW(Window, WM_CLOSE, 0, 0);
    return TRUE;
}

} // namespace

TWindowScript::TWindowScript(int TimeLimitMs)
    : FTimeLimit(TimeLimitMs), FThread(GetCurrentThreadId()),
      FWatchdog([this](const std::stop_token& Stop) { Watch(Stop); }) {}

TWindowScript::~TWindowScript() {
    FWatchdog.request_stop();
    FWatchdog.join();
    if (FTimedOut)
        ADD_FAILURE() << "no window \"" << (FSteps.empty() ? "" : FSteps.front().Title)
                      << "\" ready within " << FTimeLimit << " ms";
}

TWindowScript& TWindowScript::Then(std::string Title, std::function<void(HWND)> Action) {
    return ThenWhen(std::move(Title), nullptr, std::move(Action));
}

TWindowScript& TWindowScript::ThenWhen(std::string Title, std::function<bool()> Ready,
                                       std::function<void(HWND)> Action) {
    FSteps.push_back({std::move(Title), std::move(Ready), std::move(Action)});
    return *this;
}

void TWindowScript::Start() {
    FStepStart = FSteps.empty() ? 0 : GetTickCount64();
    FTimer.SetInterval(20);
    FTimer.SetHandler([this] { Tick(); });
    FTimer.SetEnabled(true);
}

bool TWindowScript::Finished() const {
    return FSteps.empty() && !FTimedOut;
}

void TWindowScript::Tick() {
    if (FSteps.empty() || FTimedOut) {
        FTimer.SetEnabled(false);
        return;
    }
    HWND Window = FindThreadWindow(FSteps.front().Title);
    if (!Window || (FSteps.front().Ready && !FSteps.front().Ready()))
        return;
    TStep Step = std::move(FSteps.front());
    FSteps.pop_front();
    FStepStart = FSteps.empty() ? 0 : GetTickCount64();
    Step.Action(Window);
}

// Outside every message loop of the test's thread: once a step is past its time limit, the
// thread's windows are closed, now and whenever another opens, which ends their modal loops.
void TWindowScript::Watch(const std::stop_token& Stop) {
    while (!Stop.stop_requested()) {
        const ULONGLONG Started = FStepStart;
        if (Started && GetTickCount64() - Started > ULONGLONG(FTimeLimit))
            FTimedOut = true;
        if (FTimedOut)
            EnumThreadWindows(FThread, CloseWindow, 0);
        Sleep(50);
    }
}

HWND FindThreadWindow(const std::string& Title) {
    TSearch Search{&Title, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchWindow, LPARAM(&Search));
    return Search.Found;
}

void PressKey(HWND Window, WPARAM Key) {
    HWND Target = GetFocus();
    if (!Target)
        Target = Window;
    PostMessageW(Target, WM_KEYDOWN, Key, 1);
    PostMessageW(Target, WM_KEYUP, Key, LPARAM(0xC0000001));
}

} // namespace q7n::win32::test
