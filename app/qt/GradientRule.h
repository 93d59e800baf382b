#pragma once

#include <QWidget>

namespace q7n::qt {

// A thin horizontal rule shaded as MainWindowLayout.h gives it, with no outline.
class TGradientRule final : public QWidget {
public:
    explicit TGradientRule(QWidget* Parent) : QWidget(Parent) {}

protected:
    void paintEvent(QPaintEvent* Event) override;
};

} // namespace q7n::qt
