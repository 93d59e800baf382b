#pragma once

#include "cli/ExitCodes.h"
#include "cli/PrintableText.h"

#include <ostream>
#include <stdexcept>
#include <string>

namespace q7n::cli {

// Ends a command: its text is the one line printed on standard error, saying what to do.
class ECommandError : public std::runtime_error {
public:
    ECommandError(TExitCode Code, const std::string& Text)
        : std::runtime_error(Text), FCode(Code) {}
    TExitCode Code() const { return FCode; }

private:
    TExitCode FCode;
};

// Says an outcome other than done as that line, after what the command wrote on Out, and
// answers its code: for a command that ends so without failing, such as a check that found
// something.
inline int SayOutcome(TExitCode Code, const std::string& Text, std::ostream& Out,
                      std::ostream& Err) {
    Out.flush();
    Err << "q7nctl: " << Printable(Text) << "\n";
    return Code;
}

} // namespace q7n::cli
