#pragma once

#include "base/Status.h"

#include <cstdint>
#include <string>

namespace q7n::platform {

// The system's text of a Windows error code, such as the service manager's calls and exit codes
// give, in UTF-8, as one sentence without a full stop or line break at its end. Windows says it in
// its own words (FormatMessageW); elsewhere the stand-ins give Windows' English texts of the codes
// they use, and "error N" for others.
std::string SystemErrorText(std::uint32_t Code);

// The status of a Windows error code, with the system's text of it (success for 0).
inline TStatus SystemStatus(std::uint32_t Code) {
    return Code == 0 ? TStatus() : TStatus(Code, SystemErrorText(Code));
}

} // namespace q7n::platform
