#include "windowing/qt/ApplicationTitle.h"

#include "windowing/ApplicationIdentity.h"
#include "windowing/qt/QtConversions.h"

namespace q7n::qt {

QString ApplicationTitle() {
    return ToQString(q7n::ApplicationTitle);
}

} // namespace q7n::qt
