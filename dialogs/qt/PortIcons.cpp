#include "dialogs/qt/PortIcons.h"

#include "dialogs/PortDialogLook.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace q7n::qt {

namespace {

QIcon Draw(int Size, const std::function<void(QPainter&)>& Paint) {
    QPixmap Picture(Size, Size);
    Picture.fill(Qt::transparent);
    QPainter Painter(&Picture);
    Painter.setRenderHint(QPainter::Antialiasing);
    Paint(Painter);
    Painter.end();
    return QIcon(Picture);
}

// A filled disc with a white sign on it, drawn by Sign in a 32 x 32 square.
QIcon SignOnDisc(const QColor& Disc, const std::function<void(QPainter&)>& Sign) {
    return Draw(ToolbarIconSize, [&](QPainter& Painter) {
        Painter.setPen(QPen(Disc.darker(140), 1.5));
        Painter.setBrush(Disc);
        Painter.drawEllipse(QRectF(2, 2, 28, 28));
        Painter.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
        Sign(Painter);
    });
}

// A nine-pin serial connector seen from the front.
void PaintConnector(QPainter& Painter) {
    QPainterPath Shell;
    Shell.moveTo(3, 10);
    Shell.lineTo(33, 10);
    Shell.lineTo(29, 26);
    Shell.lineTo(7, 26);
    Shell.closeSubpath();
    Painter.setPen(QPen(QColor(0x40, 0x48, 0x58), 1.5));
    Painter.setBrush(QColor(0x9a, 0xa6, 0xb8));
    Painter.drawPath(Shell);
    Painter.setPen(Qt::NoPen);
    Painter.setBrush(QColor(0x20, 0x28, 0x38));
    for (int Pin = 0; Pin < 5; ++Pin)
        Painter.drawEllipse(QPointF(9 + Pin * 4.5, 15), 1.5, 1.5);
    for (int Pin = 0; Pin < 4; ++Pin)
        Painter.drawEllipse(QPointF(11.25 + Pin * 4.5, 21), 1.5, 1.5);
}

} // namespace

QIcon AddPortIcon() {
    return SignOnDisc(QColor(0x2e, 0x9e, 0x3e), [](QPainter& Painter) {
        Painter.drawLine(QPointF(16, 9), QPointF(16, 23));
        Painter.drawLine(QPointF(9, 16), QPointF(23, 16));
    });
}

QIcon EditPortIcon() {
    return Draw(ToolbarIconSize, [](QPainter& Painter) {
        // A pencil lying from the lower left to the upper right.
        Painter.translate(16, 16);
        Painter.rotate(-45);
        Painter.setPen(QPen(QColor(0x5a, 0x4a, 0x10), 1));
        Painter.setBrush(QColor(0xf2, 0xc1, 0x2e));
        Painter.drawRect(QRectF(-9, -4, 18, 8));
        Painter.setBrush(QColor(0xe8, 0x8a, 0x9a));
        Painter.drawRect(QRectF(9, -4, 4, 8));
        QPainterPath Tip;
        Tip.moveTo(-9, -4);
        Tip.lineTo(-15, 0);
        Tip.lineTo(-9, 4);
        Tip.closeSubpath();
        Painter.setBrush(QColor(0xf5, 0xde, 0xb3));
        Painter.drawPath(Tip);
        Painter.setBrush(QColor(0x30, 0x30, 0x30));
        Painter.drawEllipse(QPointF(-14, 0), 1.2, 1.2);
    });
}

QIcon DeletePortIcon() {
    return SignOnDisc(QColor(0xd0, 0x30, 0x30), [](QPainter& Painter) {
        Painter.drawLine(QPointF(11, 11), QPointF(21, 21));
        Painter.drawLine(QPointF(21, 11), QPointF(11, 21));
    });
}

QIcon PortRowIcon() {
    return Draw(RowIconSize, PaintConnector);
}

QIcon MarkedPortRowIcon() {
    return Draw(RowIconSize, [](QPainter& Painter) {
        PaintConnector(Painter);
        // A warning triangle over the lower right corner.
        Painter.setPen(QPen(QColor(0x80, 0x50, 0x00), 1.2));
        Painter.setBrush(QColor(0xff, 0xc0, 0x20));
        const QPointF Corners[] = {{26, 17}, {35, 34}, {17, 34}};
        Painter.drawPolygon(Corners, 3);
        Painter.setPen(QPen(Qt::black, 2.2, Qt::SolidLine, Qt::RoundCap));
        Painter.drawLine(QPointF(26, 23), QPointF(26, 28.5));
        Painter.drawPoint(QPointF(26, 31.5));
    });
}

} // namespace q7n::qt
