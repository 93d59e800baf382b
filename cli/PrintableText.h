#pragma once

#include <string>

namespace q7n::cli {

// Text as one terminal line, for what q7nctl prints from a file, the service manager or an error:
// line breaks and tabs become blanks, so that a script reading line by line never sees a line cut
// in two, and the other control characters, which could steer the terminal, become '?'.
inline std::string Printable(std::string Text) {
    for (char& C : Text) {
        if (C == '\r' || C == '\n' || C == '\t')
            C = ' ';
        else if (static_cast<unsigned char>(C) < 0x20 || C == 0x7F)
            C = '?';
    }
    return Text;
}

} // namespace q7n::cli
