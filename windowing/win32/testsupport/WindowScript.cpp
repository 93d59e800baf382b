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

TWindowScript& TWindowScript::Then(std::string Title, std::function<void(HWND)> Action) {
    FSteps.push_back({std::move(Title), std::move(Action)});
    return *this;
}

void TWindowScript::Start() {
    FStepStart = GetTickCount64();
    FTimer.SetInterval(20);
    FTimer.SetHandler([this] { Tick(); });
    FTimer.SetEnabled(true);
}

void TWindowScript::Tick() {
    if (FSteps.empty()) {
        FTimer.SetEnabled(false);
        return;
    }
    if (HWND Window = FindThreadWindow(FSteps.front().Title)) {
        TStep Step = std::move(FSteps.front());
        FSteps.pop_front();
        FStepStart = GetTickCount64();
        Step.Action(Window);
    } else if (GetTickCount64() - FStepStart > ULONGLONG(FTimeLimit)) {
        ADD_FAILURE() << "no window \"" << FSteps.front().Title << "\" within " << FTimeLimit
                      << " ms";
        FSteps.clear();
        EnumThreadWindows(GetCurrentThreadId(), CloseWindow, 0);
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
