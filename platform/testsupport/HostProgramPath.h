#pragma once

#include <string>

namespace q7n::testing {

// A program built on the Linux side, as the running test sees it: under Wine the Linux root is
// drive Z.
inline std::string HostProgramPath(std::string Path) {
#ifdef _WIN32
    if (!Path.empty() && Path[0] == '/') {
        for (char& Character : Path)
            if (Character == '/')
                Character = '\\';
        Path = "Z:" + Path;
    }
#endif
    return Path;
}

} // namespace q7n::testing
