#pragma once

#include <QMessageBox>

namespace q7n::qt {

// A message box that opens in the middle of the screen rather than over its parent window, wide
// enough for a window manager to show its whole title.
class TCentredMessageBox : public QMessageBox {
    Q_OBJECT
public:
    using QMessageBox::QMessageBox;

    // Adds a button with Caption to the right of those added before: the buttons stand in the
    // order they are added, whatever order the desktop gives the roles of its own boxes' buttons.
    QPushButton* AddButtonInOrder(const QString& Caption);

protected:
    void showEvent(QShowEvent* Event) override;
    // Ctrl+C copies the box's text without the marks that keep paths whole.
    void keyPressEvent(QKeyEvent* Event) override;

private:
    void MakeRoomForTheTitle();
};

} // namespace q7n::qt
