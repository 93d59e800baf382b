#pragma once

#include <QFont>

namespace q7n::qt {

// The dialogs' monospace face, "Consolas", at PointSize; where it is not installed, the close
// Inconsolata or the system's monospace face stands in.
QFont DialogFont(int PointSize);

} // namespace q7n::qt
