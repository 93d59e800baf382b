#pragma once

#include "windowing/win32/GdiHandles.h"

namespace q7n::win32 {

// The pictures of the port list editor, drawn at their sizes scaled to Dpi: add, edit and delete
// for the toolbar (32 x 32 at 96 dpi, images 0 to 2) and those of the rows (36 x 36): image 0 for
// every row, 1 for a row that the port check flags.
TImageListHandle CreateToolbarImages(int Dpi);
TImageListHandle CreateRowImages(int Dpi);

} // namespace q7n::win32
