#include "service/ServiceState.h"

namespace q7n {

namespace {

constexpr TColor Red = 0x000000FF;
constexpr TColor Amber = 0x000EB3F1;
constexpr TColor Green = 0x003DC240;

} // namespace

const std::array<const char*, ServiceStateCount> ServiceStateCaptions = {
    "Неизвестно", "Остановлен",      "Запускается",  "Останавливается",
    "Работает",   "ContinuePending", "PausePending", "Приостановлен",
};

const std::array<TColor, ServiceStateCount> ServiceStateColors = {
    Red, Red, Amber, Amber, Green, Amber, Amber, Amber,
};

} // namespace q7n
