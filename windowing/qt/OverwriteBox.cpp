#include "windowing/qt/OverwriteBox.h"

#include "windowing/OverwriteBoxContract.h"
#include "windowing/qt/ApplicationTitle.h"
#include "windowing/qt/CentredMessageBox.h"
#include "windowing/qt/PathWrapping.h"
#include "windowing/qt/QtConversions.h"

#include <QPushButton>

namespace q7n::qt {

bool ShowOverwriteBox(const QString& Text, QWidget* Parent) {
    TCentredMessageBox Box(QMessageBox::Warning, ApplicationTitle(), WrapPathsAtSeparators(Text),
                           QMessageBox::NoButton, Parent);
    QPushButton* Overwrite = nullptr;
    QPushButton* Keep = nullptr;
    for (const TOverwriteButton& Shared : OverwriteButtons)
        (Shared.Overwrites ? Overwrite : Keep) = Box.AddButtonInOrder(ToQString(Shared.Caption));
    Box.setDefaultButton(Keep);
    Box.setEscapeButton(Keep);
    Box.exec();
    return Box.clickedButton() == Overwrite;
}

} // namespace q7n::qt
