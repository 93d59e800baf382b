#pragma once

#include <QString>

namespace q7n {

// The name under which the configurator shows itself outside its windows; the error boxes bear it.
QString ApplicationTitle();

} // namespace q7n
