#include "platform/CommandLine.h"
#include "platform/win32/Win32Text.h"

#include <windows.h>

namespace q7n::platform {

std::vector<std::string> ProgramArguments(int, char**) {
    return SplitWindowsCommandLine(WideToUtf8(::GetCommandLineW()));
}

} // namespace q7n::platform
