#pragma once

#include <windows.h>

// Windows 7 knows one DPI, the system's; Windows 8.1 and 10 give each monitor and window its own,
// and tell a window of a change with WM_DPICHANGED. The functions of the newer systems are looked
// up when the program runs, here only, and each has the system DPI's answer as its fallback.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace q7n::win32 {

// The DPI the screen's device context gives: the system DPI, Windows 7's only one.
int SystemDpi();
// The DPI of Window: its monitor's where the system tells it, else the system DPI.
int WindowDpi(HWND Window);

// Adds to Client (the client area's rectangle) the frame of a window of Style and ExtendedStyle
// without a menu, at Dpi.
void AdjustWindowRectForDpi(RECT& Client, DWORD Style, DWORD ExtendedStyle, int Dpi);
// GetSystemMetrics at Dpi.
int SystemMetricForDpi(int Index, int Dpi);
// The fonts of the title bars and boxes at Dpi (SPI_GETNONCLIENTMETRICS).
NONCLIENTMETRICSW NonClientMetricsForDpi(int Dpi);
// Leaves the layout of Dialog on WM_DPICHANGED to the dialog itself: Windows 10 would otherwise
// scale its controls and fonts on its own as well.
void KeepDialogLayoutOnDpiChange(HWND Dialog);

// Moves Window to the place that a WM_DPICHANGED (W, L) suggests, taking its size too when
// TakeSize (else the window sizes itself for its layout), and answers the new DPI.
int FollowDpiChange(HWND Window, WPARAM W, LPARAM L, bool TakeSize);

// For tests: with false the newer functions count as missing, as on Windows 7.
void SetNewerDpiFunctionsUsed(bool Used);

} // namespace q7n::win32
