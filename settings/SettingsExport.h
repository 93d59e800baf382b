#pragma once

#include "base/StatusOr.h"
#include "platform/Registry.h"

#include <string>

namespace q7n {

// The configurator's settings key, read through Registry, as a registry export file that
// Windows' registry editor imports. The file names the key as the registry editor of 64-bit
// Windows reaches the 32-bit view it lives in (Software\WOW6432Node\...), or, with
// For32BitWindows, as 32-bit Windows has it (which is also how the 32-bit registry editor of
// 64-bit Windows, SysWOW64\regedit.exe, reaches the 32-bit view). Fails with the registry's code
// and a text that says what and where when the key is not there or cannot be read.
TStatusOr<std::string> ExportServiceOptions(platform::IRegistry& Registry, bool For32BitWindows);

} // namespace q7n
