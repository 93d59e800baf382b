#pragma once

#include "GdiHandles.h"

namespace q7n::win32 {

// The pictures of the port list editor, drawn at their sizes: add, edit and delete for the
// toolbar (32 x 32, images 0 to 2) and the one of every row (36 x 36).
TImageListHandle CreateToolbarImages();
TImageListHandle CreateRowImages();

} // namespace q7n::win32
