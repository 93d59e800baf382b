#pragma once

#include <string_view>

namespace q7n {

// The name under which the configurator shows itself outside its windows (the task bar); the
// error boxes bear it. UTF-8.
inline constexpr std::string_view ApplicationTitle = "TAVO BWX Service - Конфигуратор";

} // namespace q7n
