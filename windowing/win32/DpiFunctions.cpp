#include "windowing/win32/DpiFunctions.h"

#include "windowing/DpiScale.h"
#include "windowing/win32/GdiHandles.h"

namespace q7n::win32 {

namespace {

using TGetDpiForWindow = UINT(WINAPI*)(HWND);
using TAdjustWindowRectExForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using TGetSystemMetricsForDpi = int(WINAPI*)(int, UINT);
using TSystemParametersInfoForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using TSetDialogDpiChangeBehavior = BOOL(WINAPI*)(HWND, int, int);

constexpr int DialogDpiChangesDisabled = 1; // DDC_DISABLE_ALL

bool NewerFunctionsUsed = true;

// The function Name of user32, or null where the system has none (or the tests say so).
template <typename TFunction> TFunction UserFunction(const char* Name) {
    if (!NewerFunctionsUsed)
        return nullptr;
    static const HMODULE User = GetModuleHandleW(L"user32.dll");
    return User ? reinterpret_cast<TFunction>(reinterpret_cast<void*>(GetProcAddress(User, Name)))
                : nullptr;
}

} // namespace

void SetNewerDpiFunctionsUsed(bool Used) {
    NewerFunctionsUsed = Used;
}

int SystemDpi() {
    const TWindowDC Screen(GetDC(nullptr));
    const int Dpi = GetDeviceCaps(Screen.Get(), LOGPIXELSX);
    return Dpi > 0 ? Dpi : DefaultDpi;
}

int WindowDpi(HWND Window) {
    if (auto GetDpiForWindow = UserFunction<TGetDpiForWindow>("GetDpiForWindow"))
        if (const UINT Dpi = GetDpiForWindow(Window))
            return int(Dpi);
    return SystemDpi();
}

void AdjustWindowRectForDpi(RECT& Client, DWORD Style, DWORD ExtendedStyle, int Dpi) {
    if (auto Adjust = UserFunction<TAdjustWindowRectExForDpi>("AdjustWindowRectExForDpi"))
        if (Adjust(&Client, Style, FALSE, ExtendedStyle, UINT(Dpi)))
            return;
    AdjustWindowRectEx(&Client, Style, FALSE, ExtendedStyle);
}

int SystemMetricForDpi(int Index, int Dpi) {
    if (auto Metric = UserFunction<TGetSystemMetricsForDpi>("GetSystemMetricsForDpi"))
        return Metric(Index, UINT(Dpi));
    return GetSystemMetrics(Index);
}

NONCLIENTMETRICSW NonClientMetricsForDpi(int Dpi) {
    NONCLIENTMETRICSW Metrics{};
    Metrics.cbSize = sizeof Metrics;
    if (auto Parameters = UserFunction<TSystemParametersInfoForDpi>("SystemParametersInfoForDpi"))
        if (Parameters(SPI_GETNONCLIENTMETRICS, sizeof Metrics, &Metrics, 0, UINT(Dpi)))
            return Metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof Metrics, &Metrics, 0);
    return Metrics;
}

int FollowDpiChange(HWND Window, WPARAM W, LPARAM L, bool TakeSize) {
    const auto& Suggested = *reinterpret_cast<const RECT*>(L);
    SetWindowPos(Window, nullptr, Suggested.left, Suggested.top, Suggested.right - Suggested.left,
                 Suggested.bottom - Suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | (TakeSize ? 0 : SWP_NOSIZE));
    return LOWORD(W);
}

void KeepDialogLayoutOnDpiChange(HWND Dialog) {
    if (auto Behaviour = UserFunction<TSetDialogDpiChangeBehavior>("SetDialogDpiChangeBehavior"))
        Behaviour(Dialog, DialogDpiChangesDisabled, DialogDpiChangesDisabled);
}

} // namespace q7n::win32
