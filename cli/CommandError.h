#pragma once

#include "cli/ExitCodes.h"

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

} // namespace q7n::cli
