#include "DialogFont.h"

#include <QStringList>

namespace q7n {

QFont DialogFont(int PointSize) {
    const QStringList Families = {QStringLiteral("Consolas"), QStringLiteral("Inconsolata")};
    QFont Font(Families, PointSize);
    Font.setStyleHint(QFont::TypeWriter);
    return Font;
}

} // namespace q7n
