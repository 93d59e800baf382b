#include "dialogs/win32/PortImages.h"

#include "dialogs/PortDialogLook.h"

#include <functional>

namespace q7n::win32 {

namespace {

// Around every picture: what the image list leaves transparent.
constexpr COLORREF Transparent = RGB(255, 0, 255);

void FillBox(HDC Context, int Left, int Top, int Right, int Bottom, COLORREF Colour) {
    const RECT Box{Left, Top, Right, Bottom};
    FillRect(Context, &Box, TBrushHandle(CreateSolidBrush(Colour)).Get());
}

// Draws one Size x Size picture with Paint and adds it to Images.
void AddPicture(HIMAGELIST Images, int Size, const std::function<void(HDC)>& Paint) {
    TBitmapHandle Picture;
    {
        const TWindowDC Screen(GetDC(nullptr));
        const TMemoryDC Context(CreateCompatibleDC(Screen.Get()));
        Picture.Reset(CreateCompatibleBitmap(Screen.Get(), Size, Size));
        HGDIOBJ Old = SelectObject(Context.Get(), Picture.Get());
        FillBox(Context.Get(), 0, 0, Size, Size, Transparent);
        Paint(Context.Get());
        SelectObject(Context.Get(), Old); // the image list takes only a bitmap selected nowhere
    }
    ImageList_AddMasked(Images, Picture.Get(), Transparent);
}

void Line(HDC Context, int Width, COLORREF Colour, POINT From, POINT To) {
    const TPenHandle Pen(CreatePen(PS_SOLID, Width, Colour));
    HGDIOBJ Old = SelectObject(Context, Pen.Get());
    MoveToEx(Context, From.x, From.y, nullptr);
    LineTo(Context, To.x, To.y);
    SelectObject(Context, Old);
}

// A serial connector with its pins.
void PaintConnector(HDC Context) {
    FillBox(Context, 4, 10, 32, 26, RGB(50, 90, 160));
    for (int Pin = 0; Pin < 5; ++Pin)
        FillBox(Context, 8 + Pin * 5, 15, 11 + Pin * 5, 18, RGB(240, 240, 240));
    for (int Pin = 0; Pin < 4; ++Pin)
        FillBox(Context, 10 + Pin * 5, 20, 13 + Pin * 5, 23, RGB(240, 240, 240));
}

} // namespace

TImageListHandle CreateToolbarImages() {
    const int Size = ToolbarIconSize;
    TImageListHandle Images(ImageList_Create(Size, Size, ILC_COLOR24 | ILC_MASK, 3, 0));
    AddPicture(Images.Get(), Size, [](HDC Context) { // a green plus
        FillBox(Context, 13, 4, 19, 28, RGB(40, 150, 60));
        FillBox(Context, 4, 13, 28, 19, RGB(40, 150, 60));
    });
    AddPicture(Images.Get(), Size, [](HDC Context) { // a pencil
        Line(Context, 7, RGB(230, 170, 40), {8, 24}, {24, 8});
        Line(Context, 3, RGB(60, 60, 60), {4, 28}, {8, 24});
    });
    AddPicture(Images.Get(), Size, [](HDC Context) { // a red cross
        Line(Context, 5, RGB(200, 40, 40), {7, 7}, {25, 25});
        Line(Context, 5, RGB(200, 40, 40), {25, 7}, {7, 25});
    });
    return Images;
}

TImageListHandle CreateRowImages() {
    const int Size = RowIconSize;
    TImageListHandle Images(ImageList_Create(Size, Size, ILC_COLOR24 | ILC_MASK, 2, 0));
    AddPicture(Images.Get(), Size, PaintConnector);
    AddPicture(Images.Get(), Size, [](HDC Context) { // the connector under a warning triangle
        PaintConnector(Context);
        const POINT Corners[] = {{26, 16}, {35, 34}, {17, 34}};
        TBrushHandle Yellow(CreateSolidBrush(RGB(255, 192, 32)));
        TPenHandle Brown(CreatePen(PS_SOLID, 1, RGB(128, 80, 0)));
        HGDIOBJ OldBrush = SelectObject(Context, Yellow.Get());
        HGDIOBJ OldPen = SelectObject(Context, Brown.Get());
        Polygon(Context, Corners, 3);
        SelectObject(Context, OldPen);
        SelectObject(Context, OldBrush);
        FillBox(Context, 25, 22, 28, 29, RGB(0, 0, 0));
        FillBox(Context, 25, 30, 28, 33, RGB(0, 0, 0));
    });
    return Images;
}

} // namespace q7n::win32
