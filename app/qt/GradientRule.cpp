#include "app/qt/GradientRule.h"

#include "app/MainWindowLayout.h"
#include "windowing/qt/QtConversions.h"

#include <QLinearGradient>
#include <QPainter>

namespace q7n::qt {

void TGradientRule::paintEvent(QPaintEvent*) {
    QLinearGradient Shade(0, 0, width(), 0);
    Shade.setColorAt(0.0, ToQColor(app::RuleEndColor));
    Shade.setColorAt(0.5, ToQColor(app::RuleMiddleColor));
    Shade.setColorAt(1.0, ToQColor(app::RuleEndColor));
    QPainter Painter(this);
    Painter.fillRect(rect(), Shade);
}

} // namespace q7n::qt
