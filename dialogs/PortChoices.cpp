#include "dialogs/PortChoices.h"

namespace q7n {

std::string COMPortText(std::int32_t Number) {
    return "COM" + std::to_string(Number);
}

} // namespace q7n
