#pragma once

#include "cli/CtlEnvironment.h"

#include <ostream>
#include <string>
#include <vector>

namespace q7n::cli {

// status [--json]; install, uninstall, start, stop, restart [--wait SECONDS]; service ensure
// STATE [--check] [--json] [--wait SECONDS]. Answers the exit code; failures raise
// ECommandError; warnings go to Err.
int RunServiceCommand(const std::string& Command, const std::vector<std::string>& Words,
                      const TCtlEnvironment& Environment, std::ostream& Out, std::ostream& Err);

} // namespace q7n::cli
