// Times the Win32 main window: from creating it to its first paint, from creating it to the
// first polled state shown, and from the start of this process to that first state.
//   q7n_bench_main_window_win32
#include "app/MainWindowLayout.h"
#include "app/win32/ServiceConfiguratorDialog.h"
#include "windowing/win32/MessageLoop.h"

#include <algorithm>
#include <commctrl.h>
#include <cstdio>
#include <vector>

namespace {

double Now() {
    LARGE_INTEGER Count, Frequency;
    QueryPerformanceCounter(&Count);
    QueryPerformanceFrequency(&Frequency);
    return double(Count.QuadPart) * 1000.0 / double(Frequency.QuadPart);
}

// Milliseconds since this process was created.
double SinceProcessStart() {
    FILETIME Created, Exited, Kernel, User, Current;
    GetProcessTimes(GetCurrentProcess(), &Created, &Exited, &Kernel, &User);
    GetSystemTimeAsFileTime(&Current);
    auto Ticks = [](FILETIME Time) {
        return (ULONGLONG(Time.dwHighDateTime) << 32) | Time.dwLowDateTime;
    };
    return double(Ticks(Current) - Ticks(Created)) / 10000.0;
}

void PumpUntilFirstPoll(const q7n::win32::TdlgServiceConfigurator& Window) {
    const ULONGLONG End = GetTickCount64() + 5000;
    while (Window.Control("ServiceStatusLb").Text() == q7n::app::InitialStateCaption &&
           GetTickCount64() < End)
        q7n::win32::PumpMessagesFor(5);
}

double Median(std::vector<double> Values) {
    std::sort(Values.begin(), Values.end());
    return Values[Values.size() / 2];
}

} // namespace

int main() {
    INITCOMMONCONTROLSEX Controls{sizeof Controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&Controls);
    std::vector<double> Paint, Poll;
    double FirstPollSinceStart = 0;
    for (int Run = 0; Run < 7; ++Run) {
        const double Start = Now();
        q7n::win32::TdlgServiceConfigurator Window;
        ShowWindow(Window.Handle(), SW_SHOW);
        UpdateWindow(Window.Handle()); // paints at once
        Paint.push_back(Now() - Start);
        PumpUntilFirstPoll(Window);
        Poll.push_back(Now() - Start);
        if (Run == 0)
            FirstPollSinceStart = SinceProcessStart();
    }
    std::printf("Win32 main window, creation to first paint: median %.2f ms (first run %.2f ms, "
                "%zu runs)\n",
                Median(Paint), Paint.front(), Paint.size());
    std::printf("Win32 main window, creation to first state shown: median %.0f ms (the first "
                "poll is due 500 ms after the start)\n",
                Median(Poll));
    std::printf("process start to first state shown: %.0f ms\n", FirstPollSinceStart);
    return 0;
}
