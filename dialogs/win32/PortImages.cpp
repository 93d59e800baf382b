#include "PortImages.h"

#include "PortDialogLook.h"

#include <functional>

namespace q7n::win32 {

namespace {

// Around every picture: what the image list leaves transparent.
constexpr COLORREF Transparent = RGB(255, 0, 255);

// Draws one Size x Size picture with Paint and adds it to Images.
void AddPicture(HIMAGELIST Images, int Size, const std::function<void(HDC)>& Paint) {
    HDC Screen = GetDC(nullptr);
    HDC Context = CreateCompatibleDC(Screen);
    HBITMAP Picture = CreateCompatibleBitmap(Screen, Size, Size);
    ReleaseDC(nullptr, Screen);
    HGDIOBJ Old = SelectObject(Context, Picture);
    RECT All{0, 0, Size, Size};
    HBRUSH Background = CreateSolidBrush(Transparent);
    FillRect(Context, &All, Background);
    DeleteObject(Background);
    Paint(Context);
    SelectObject(Context, Old);
    DeleteDC(Context);
    ImageList_AddMasked(Images, Picture, Transparent);
    DeleteObject(Picture);
}

void FillBox(HDC Context, int Left, int Top, int Right, int Bottom, COLORREF Colour) {
    RECT Box{Left, Top, Right, Bottom};
    HBRUSH Brush = CreateSolidBrush(Colour);
    FillRect(Context, &Box, Brush);
    DeleteObject(Brush);
}

void Line(HDC Context, int Width, COLORREF Colour, POINT From, POINT To) {
    HPEN Pen = CreatePen(PS_SOLID, Width, Colour);
    HGDIOBJ Old = SelectObject(Context, Pen);
    MoveToEx(Context, From.x, From.y, nullptr);
    LineTo(Context, To.x, To.y);
    SelectObject(Context, Old);
    DeleteObject(Pen);
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

HIMAGELIST CreateToolbarImages() {
    const int Size = ToolbarIconSize;
    HIMAGELIST Images = ImageList_Create(Size, Size, ILC_COLOR24 | ILC_MASK, 3, 0);
    AddPicture(Images, Size, [](HDC Context) { // a green plus
        FillBox(Context, 13, 4, 19, 28, RGB(40, 150, 60));
        FillBox(Context, 4, 13, 28, 19, RGB(40, 150, 60));
    });
    AddPicture(Images, Size, [](HDC Context) { // a pencil
        Line(Context, 7, RGB(230, 170, 40), {8, 24}, {24, 8});
        Line(Context, 3, RGB(60, 60, 60), {4, 28}, {8, 24});
    });
    AddPicture(Images, Size, [](HDC Context) { // a red cross
        Line(Context, 5, RGB(200, 40, 40), {7, 7}, {25, 25});
        Line(Context, 5, RGB(200, 40, 40), {25, 7}, {7, 25});
    });
    return Images;
}

HIMAGELIST CreateRowImages() {
    const int Size = RowIconSize;
    HIMAGELIST Images = ImageList_Create(Size, Size, ILC_COLOR24 | ILC_MASK, 2, 0);
    AddPicture(Images, Size, PaintConnector);
    AddPicture(Images, Size, [](HDC Context) { // the connector under a warning triangle
        PaintConnector(Context);
        const POINT Corners[] = {{26, 16}, {35, 34}, {17, 34}};
        HBRUSH Yellow = CreateSolidBrush(RGB(255, 192, 32));
        HPEN Brown = CreatePen(PS_SOLID, 1, RGB(128, 80, 0));
        HGDIOBJ OldBrush = SelectObject(Context, Yellow);
        HGDIOBJ OldPen = SelectObject(Context, Brown);
        Polygon(Context, Corners, 3);
        SelectObject(Context, OldPen);
        SelectObject(Context, OldBrush);
        DeleteObject(Brown);
        DeleteObject(Yellow);
        FillBox(Context, 25, 22, 28, 29, RGB(0, 0, 0));
        FillBox(Context, 25, 30, 28, 33, RGB(0, 0, 0));
    });
    return Images;
}

} // namespace q7n::win32
