#pragma once

class QSize;
class QWidget;

namespace q7n::qt {

// Moves a shown top-level window, frame included, to the middle of its screen's work area.
void CentreOnScreen(QWidget& Window);

// Gives a top-level window the outer size Outer, frame and title bar included, as far as the
// window system has told the frame's size: the client area takes what the frame leaves.
void ResizeFrameTo(QWidget& Window, const QSize& Outer);

} // namespace q7n::qt
