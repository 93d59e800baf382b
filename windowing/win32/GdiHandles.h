#pragma once

#include "UniqueHandle.h"

#include <windows.h>

#include <commctrl.h>

// Owners of the drawing objects of the native windows, each freed the way its kind must be.
namespace q7n::win32 {

// A font, bitmap, brush or pen: DeleteObject, once nothing has it selected.
template <typename TObject>
struct TGdiObjectTraits {
    using THandle = TObject;
    static TObject Invalid() { return nullptr; }
    void Close(TObject Object) const { DeleteObject(Object); }
};

struct TIconTraits {
    using THandle = HICON;
    static HICON Invalid() { return nullptr; }
    void Close(HICON Icon) const { DestroyIcon(Icon); }
};

struct TImageListTraits {
    using THandle = HIMAGELIST;
    static HIMAGELIST Invalid() { return nullptr; }
    void Close(HIMAGELIST Images) const { ImageList_Destroy(Images); }
};

// A memory context of CreateCompatibleDC.
struct TMemoryDCTraits {
    using THandle = HDC;
    static HDC Invalid() { return nullptr; }
    void Close(HDC Context) const { DeleteDC(Context); }
};

// A context of GetDC, given back to the window it came from (null: the screen).
struct TWindowDCTraits {
    using THandle = HDC;
    static HDC Invalid() { return nullptr; }
    void Close(HDC Context) const { ReleaseDC(Window, Context); }
    HWND Window = nullptr;
};

using TFontHandle = TUniqueHandle<TGdiObjectTraits<HFONT>>;
using TBitmapHandle = TUniqueHandle<TGdiObjectTraits<HBITMAP>>;
using TBrushHandle = TUniqueHandle<TGdiObjectTraits<HBRUSH>>;
using TPenHandle = TUniqueHandle<TGdiObjectTraits<HPEN>>;
using TIconHandle = TUniqueHandle<TIconTraits>;
using TImageListHandle = TUniqueHandle<TImageListTraits>;
using TMemoryDC = TUniqueHandle<TMemoryDCTraits>;
using TWindowDC = TUniqueHandle<TWindowDCTraits>; // TWindowDC(GetDC(Window), {Window})

} // namespace q7n::win32
