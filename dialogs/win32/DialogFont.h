#pragma once

#include "windowing/win32/GdiHandles.h"

namespace q7n::win32 {

// The dialogs' monospace face at Points, for the screen.
TFontHandle CreateDialogFont(int Points);

// Gives Dialog's client area Width x Height pixels, the frame around it as its style makes it.
void SetClientSize(HWND Dialog, int Width, int Height);

} // namespace q7n::win32
