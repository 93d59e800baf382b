#include "service/ServiceState.h"

namespace q7n {

const std::array<const char*, ServiceStateCount> ServiceStateCaptions = {
    "Неизвестно", "Остановлен",      "Запускается",  "Останавливается",
    "Работает",   "ContinuePending", "PausePending", "Приостановлен",
};

const char* ServiceStateCaption(TServiceState State) {
    return ServiceStateCaptions[State < ServiceStateCount ? State : 0];
}

} // namespace q7n
