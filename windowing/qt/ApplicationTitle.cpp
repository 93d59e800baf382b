#include "ApplicationTitle.h"

namespace q7n {

QString ApplicationTitle() {
    return QStringLiteral("TAVO BWX Service - Конфигуратор");
}

} // namespace q7n
