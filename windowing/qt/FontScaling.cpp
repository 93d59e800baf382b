#include "windowing/qt/FontScaling.h"

#include <QWidget>

namespace q7n::qt {

int FollowFontDpi(const QWidget& Widget, int Pixels) {
    constexpr int LayoutDpi = 96;
    return (Pixels * Widget.logicalDpiY() + LayoutDpi / 2) / LayoutDpi;
}

} // namespace q7n::qt
