#pragma once

#include "windowing/win32/GdiHandles.h"

namespace q7n::win32 {

// The dialogs' monospace face at Points, for a window at Dpi.
TFontHandle CreateDialogFont(int Points, int Dpi);

// Sets Font on every control of Dialog.
void SetControlsFont(HWND Dialog, HFONT Font);

} // namespace q7n::win32
