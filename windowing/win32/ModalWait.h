#pragma once

#include "windowing/ModalWait.h"

#include <windows.h>

namespace q7n::win32 {

// Runs Waiting modally over Over (none: over no window), as windowing/ModalWait.h says.
bool WaitModally(HWND Over, const TModalWaiting& Waiting);

} // namespace q7n::win32
