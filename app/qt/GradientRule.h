#pragma once

#include <QWidget>

namespace q7n::gui {

// A thin horizontal rule shaded from navy at both ends to red in the middle, with no outline.
class TGradientRule final : public QWidget {
public:
    explicit TGradientRule(QWidget* Parent) : QWidget(Parent) {}

protected:
    void paintEvent(QPaintEvent* Event) override;
};

} // namespace q7n::gui
