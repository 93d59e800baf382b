#include "dialogs/win32/PortImages.h"

#include "dialogs/PortDialogLook.h"
#include "windowing/DpiScale.h"

#include <functional>

namespace q7n::win32 {

namespace {

// Around every picture: what the image list leaves transparent.
constexpr COLORREF Transparent = RGB(255, 0, 255);

// Draws on a picture in coordinates at 96 dpi, scaled to Dpi: the same drawing at every size.
struct TPainter {
    HDC Context;
    int Dpi;

    int At(int Pixels96) const { return ScaledByDpi(Pixels96, Dpi); }
    POINT At(POINT Point96) const { return {At(int(Point96.x)), At(int(Point96.y))}; }

    void Box(int Left, int Top, int Right, int Bottom, COLORREF Colour) const {
        const RECT Box{At(Left), At(Top), At(Right), At(Bottom)};
        FillRect(Context, &Box, TBrushHandle(CreateSolidBrush(Colour)).Get());
    }

    void Line(int Width, COLORREF Colour, POINT From, POINT To) const {
        const TPenHandle Pen(CreatePen(PS_SOLID, At(Width), Colour));
        HGDIOBJ Old = SelectObject(Context, Pen.Get());
        MoveToEx(Context, At(From).x, At(From).y, nullptr);
        LineTo(Context, At(To).x, At(To).y);
        SelectObject(Context, Old);
    }

    void Triangle(const POINT (&Corners96)[3], COLORREF Fill, COLORREF Edge) const {
        const POINT Corners[] = {At(Corners96[0]), At(Corners96[1]), At(Corners96[2])};
        TBrushHandle Brush(CreateSolidBrush(Fill));
        TPenHandle Pen(CreatePen(PS_SOLID, At(1), Edge));
        HGDIOBJ OldBrush = SelectObject(Context, Brush.Get());
        HGDIOBJ OldPen = SelectObject(Context, Pen.Get());
        Polygon(Context, Corners, 3);
        SelectObject(Context, OldPen);
        SelectObject(Context, OldBrush);
    }
};

// Draws one picture of Size96 x Size96 pixels at 96 dpi with Paint, at Dpi, and adds it to Images.
void AddPicture(HIMAGELIST Images, int Size96, int Dpi,
                const std::function<void(const TPainter&)>& Paint) {
    const int Size = ScaledByDpi(Size96, Dpi);
    TBitmapHandle Picture;
    {
        const TWindowDC Screen(GetDC(nullptr));
        const TMemoryDC Context(CreateCompatibleDC(Screen.Get()));
        Picture.Reset(CreateCompatibleBitmap(Screen.Get(), Size, Size));
        HGDIOBJ Old = SelectObject(Context.Get(), Picture.Get());
        const RECT All{0, 0, Size, Size};
        FillRect(Context.Get(), &All, TBrushHandle(CreateSolidBrush(Transparent)).Get());
        Paint(TPainter{Context.Get(), Dpi});
        SelectObject(Context.Get(), Old); // the image list takes only a bitmap selected nowhere
    }
    ImageList_AddMasked(Images, Picture.Get(), Transparent);
}

// A serial connector with its pins.
void PaintConnector(const TPainter& Painter) {
    Painter.Box(4, 10, 32, 26, RGB(50, 90, 160));
    for (int Pin = 0; Pin < 5; ++Pin)
        Painter.Box(8 + Pin * 5, 15, 11 + Pin * 5, 18, RGB(240, 240, 240));
    for (int Pin = 0; Pin < 4; ++Pin)
        Painter.Box(10 + Pin * 5, 20, 13 + Pin * 5, 23, RGB(240, 240, 240));
}

} // namespace

TImageListHandle CreateToolbarImages(int Dpi) {
    const int Size = ScaledByDpi(ToolbarIconSize, Dpi);
    TImageListHandle Images(ImageList_Create(Size, Size, ILC_COLOR24 | ILC_MASK, 3, 0));
    AddPicture(Images.Get(), ToolbarIconSize, Dpi, [](const TPainter& Painter) { // a green plus
        Painter.Box(13, 4, 19, 28, RGB(40, 150, 60));
        Painter.Box(4, 13, 28, 19, RGB(40, 150, 60));
    });
    AddPicture(Images.Get(), ToolbarIconSize, Dpi, [](const TPainter& Painter) { // a pencil
        Painter.Line(7, RGB(230, 170, 40), {8, 24}, {24, 8});
        Painter.Line(3, RGB(60, 60, 60), {4, 28}, {8, 24});
    });
    AddPicture(Images.Get(), ToolbarIconSize, Dpi, [](const TPainter& Painter) { // a red cross
        Painter.Line(5, RGB(200, 40, 40), {7, 7}, {25, 25});
        Painter.Line(5, RGB(200, 40, 40), {25, 7}, {7, 25});
    });
    return Images;
}

TImageListHandle CreateRowImages(int Dpi) {
    const int Size = ScaledByDpi(RowIconSize, Dpi);
    TImageListHandle Images(ImageList_Create(Size, Size, ILC_COLOR24 | ILC_MASK, 2, 0));
    AddPicture(Images.Get(), RowIconSize, Dpi, PaintConnector);
    AddPicture(Images.Get(), RowIconSize, Dpi, [](const TPainter& Painter) {
        PaintConnector(Painter); // under a warning triangle
        Painter.Triangle({{26, 16}, {35, 34}, {17, 34}}, RGB(255, 192, 32), RGB(128, 80, 0));
        Painter.Box(25, 22, 28, 29, RGB(0, 0, 0));
        Painter.Box(25, 30, 28, 33, RGB(0, 0, 0));
    });
    return Images;
}

} // namespace q7n::win32
