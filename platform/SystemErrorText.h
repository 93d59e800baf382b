#pragma once

#include "base/Status.h"
#include "base/StatusOr.h"

#include <cstdint>
#include <string>
#include <utility>

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

// Value after a call that ended with Code 0; otherwise the status of Code, and Value is dropped.
template <class T> TStatusOr<T> SystemResult(std::uint32_t Code, T Value) {
    if (Code != 0)
        return SystemStatus(Code);
    return TStatusOr<T>(std::move(Value));
}

} // namespace q7n::platform
