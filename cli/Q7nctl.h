#pragma once

#include "cli/CtlEnvironment.h"

#include <ostream>
#include <string>
#include <vector>

namespace q7n::cli {

// Runs one q7nctl command (Arguments without the program's name): results on Out, a failure as
// one line on Err. Answers the exit code (ExitCodes.h).
int RunQ7nctl(const std::vector<std::string>& Arguments, const TCtlEnvironment& Environment,
              std::ostream& Out, std::ostream& Err);

// What q7nctl --help prints: every command with its options, and the exit codes.
std::string Q7nctlHelp();

} // namespace q7n::cli
