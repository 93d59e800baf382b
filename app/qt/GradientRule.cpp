#include "GradientRule.h"

#include <QLinearGradient>
#include <QPainter>

namespace q7n::gui {

void TGradientRule::paintEvent(QPaintEvent*) {
    QLinearGradient Shade(0, 0, width(), 0);
    Shade.setColorAt(0.0, QColor(0x00, 0x00, 0x80)); // navy
    Shade.setColorAt(0.5, QColor(0xFF, 0x00, 0x00)); // red
    Shade.setColorAt(1.0, QColor(0x00, 0x00, 0x80));
    QPainter Painter(this);
    Painter.fillRect(rect(), Shade);
}

} // namespace q7n::gui
