#pragma once

class QWidget;

namespace q7n::qt {

// Moves a shown top-level window, frame included, to the middle of its screen's work area.
void CentreOnScreen(QWidget& Window);

} // namespace q7n::qt
