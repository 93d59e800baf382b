#pragma once

#include "base/UniqueHandle.h"

#include <windows.h>

#include <commctrl.h>

// Owners of the drawing objects of the native windows, each freed the way its kind must be.
namespace q7n::win32 {

// A handle of type THandleType, freed by Free.
template <typename THandleType, auto Free> struct TFreedBy {
    using THandle = THandleType;
    static THandle Invalid() { return nullptr; }
    void Close(THandle Handle) const { Free(Handle); }
};

// A context of GetDC, given back to the window it came from (null: the screen).
struct TWindowDCTraits {
    using THandle = HDC;
    static HDC Invalid() { return nullptr; }
    void Close(HDC Context) const { ReleaseDC(Window, Context); }
    HWND Window = nullptr;
};

// Fonts, bitmaps, brushes and pens are deleted once nothing has them selected.
using TFontHandle = TUniqueHandle<TFreedBy<HFONT, DeleteObject>>;
using TBitmapHandle = TUniqueHandle<TFreedBy<HBITMAP, DeleteObject>>;
using TBrushHandle = TUniqueHandle<TFreedBy<HBRUSH, DeleteObject>>;
using TPenHandle = TUniqueHandle<TFreedBy<HPEN, DeleteObject>>;
using TIconHandle = TUniqueHandle<TFreedBy<HICON, DestroyIcon>>;
using TImageListHandle = TUniqueHandle<TFreedBy<HIMAGELIST, ImageList_Destroy>>;
using TMemoryDC = TUniqueHandle<TFreedBy<HDC, DeleteDC>>; // of CreateCompatibleDC
using TWindowDC = TUniqueHandle<TWindowDCTraits>;         // TWindowDC(GetDC(Window), {Window})

} // namespace q7n::win32
