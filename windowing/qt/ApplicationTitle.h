#pragma once

#include <QString>

namespace q7n::qt {

// The application title (ApplicationIdentity.h) as Qt text.
QString ApplicationTitle();

} // namespace q7n::qt
