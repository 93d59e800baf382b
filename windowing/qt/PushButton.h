#pragma once

#include <QPushButton>

namespace q7n {

// A push button that Enter presses while it has the focus, as buttons do on Windows, without
// making it the default button of its window: Enter in any other control still presses nothing.
class TPushButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* Event) override;
};

} // namespace q7n
