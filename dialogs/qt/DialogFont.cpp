#include "dialogs/qt/DialogFont.h"

#include "dialogs/PortDialogLook.h"

#include <QStringList>

namespace q7n::qt {

QFont DialogFont(int PointSize) {
    const QStringList Families = {QString::fromLatin1(DialogFontFace),
                                  QStringLiteral("Inconsolata")};
    QFont Font(Families, PointSize);
    Font.setStyleHint(QFont::TypeWriter);
    return Font;
}

} // namespace q7n::qt
