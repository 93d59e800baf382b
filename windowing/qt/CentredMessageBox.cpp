#include "windowing/qt/CentredMessageBox.h"

#include "windowing/qt/PathWrapping.h"
#include "windowing/qt/ScreenPlacement.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QSpacerItem>

namespace q7n::qt {

QPushButton* TCentredMessageBox::AddButtonInOrder(const QString& Caption) {
    // Every layout of the button row keeps the buttons of the action role in the order of
    // adding; the box closes on any of its buttons all the same.
    return addButton(Caption, QMessageBox::ActionRole);
}

void TCentredMessageBox::showEvent(QShowEvent* Event) {
    MakeRoomForTheTitle();
    // The box takes its final size while it is being shown, so it is placed only then.
    QMessageBox::showEvent(Event);
    if (!Event->spontaneous()) // not when the window system shows it again
        CentreOnScreen(*this);
}

void TCentredMessageBox::keyPressEvent(QKeyEvent* Event) {
    QMessageBox::keyPressEvent(Event);
    if (Event->matches(QKeySequence::Copy)) {
        QClipboard* Clipboard = QGuiApplication::clipboard();
        Clipboard->setText(WithoutWrapMarks(Clipboard->text()));
    }
}

// Qt sizes a box for its text and allows its title only 50 pixels beyond the title's width in
// the toolkit's font; a window manager draws the title bold and often larger, between an icon and
// up to three buttons, and elides what does not fit. A spacer across the box's grid keeps the box
// at least that wide: the title a quarter wider in bold, and the room of six title bar buttons.
void TCentredMessageBox::MakeRoomForTheTitle() {
    auto* Grid = qobject_cast<QGridLayout*>(layout());
    if (!Grid || Grid->property("q7nTitleRoom").isValid())
        return;
    QFont TitleFont = QApplication::font("QMdiSubWindowTitleBar");
    TitleFont.setBold(true);
    QFontMetrics Metrics(TitleFont);
    int Width = Metrics.horizontalAdvance(windowTitle()) * 5 / 4 + 6 * Metrics.height();
    Grid->addItem(new QSpacerItem(Width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                  Grid->rowCount(), 0, 1, Grid->columnCount());
    Grid->setProperty("q7nTitleRoom", Width);
}

} // namespace q7n::qt
