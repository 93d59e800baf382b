#include "ApplicationTitle.h"

#include "ApplicationIdentity.h"
#include "QtConversions.h"

namespace q7n::qt {

QString ApplicationTitle() {
    return ToQString(q7n::ApplicationTitle);
}

} // namespace q7n::qt
