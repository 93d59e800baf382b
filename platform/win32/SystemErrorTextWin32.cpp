#include "platform/SystemErrorText.h"
#include "platform/win32/Win32Error.h"

namespace q7n::platform {

std::string SystemErrorText(std::uint32_t Code) {
    return Win32Category().message(static_cast<int>(Code));
}

} // namespace q7n::platform
