#pragma once

#include "base/StatusOr.h"

#include <string>

namespace q7n::platform {

// The process's current directory in UTF-8, as the platform reports it: nothing removed or
// added, so a drive root on Windows comes with its backslash ("C:\"). Fails when it cannot be
// read (on POSIX, for one, when the folder has been deleted), with a text that begins "Cannot
// read the current folder: ".
TStatusOr<std::string> CurrentDirectory();

} // namespace q7n::platform
