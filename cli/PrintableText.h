#pragma once

#include <string>

namespace q7n::cli {

// Text from a file or the service manager as it can be shown on a terminal line: control
// characters, which could break the line or steer the terminal, become '?'.
inline std::string Printable(std::string Text) {
    for (char& C : Text)
        if (static_cast<unsigned char>(C) < 0x20 || C == 0x7F)
            C = '?';
    return Text;
}

} // namespace q7n::cli
