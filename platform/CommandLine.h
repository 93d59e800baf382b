#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace q7n::platform {

// Splits a command line as Windows programs split theirs, so that a service's registered command
// means the same on every host: the program name ends at the first blank unless it is quoted, and
// then it runs to the next quote, backslashes included; in the arguments, blanks separate outside
// quotes, 2n backslashes before a quote give n backslashes and the quote opens or closes a quoted
// part, 2n+1 give n backslashes and a literal quote, other backslashes are literal, and "" inside
// a quoted part is a literal quote.
std::vector<std::string> SplitWindowsCommandLine(std::string_view Line);

// The program's arguments in UTF-8, its name first. Windows gives main() its arguments in the ANSI
// code page, which lacks most characters of file names, so there they are split again from the
// wide command line; elsewhere they are argv as it is.
std::vector<std::string> ProgramArguments(int argc, char** argv);

} // namespace q7n::platform
