#pragma once

#include <QIcon>

namespace q7n::qt {

// The pictures of the port list editor, drawn at the sizes its toolbar (32 x 32) and its rows
// (36 x 36) show them; a row that the port check flags shows the marked picture.
QIcon AddPortIcon();
QIcon EditPortIcon();
QIcon DeletePortIcon();
QIcon PortRowIcon();
QIcon MarkedPortRowIcon();

} // namespace q7n::qt
