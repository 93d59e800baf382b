#pragma once

#include <QIcon>

namespace q7n::qt {

// The pictures of the port list editor, drawn at the sizes its toolbar (32 x 32) and its rows
// (36 x 36) show them.
QIcon AddPortIcon();
QIcon EditPortIcon();
QIcon DeletePortIcon();
QIcon PortRowIcon();

} // namespace q7n::qt
