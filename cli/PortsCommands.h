#pragma once

#include "CtlEnvironment.h"

#include <ostream>
#include <string>
#include <vector>

namespace q7n::cli {

// ports list|add|set|remove|check ... (Words start after "ports"). Answers the exit code;
// failures raise ECommandError.
int RunPortsCommand(const std::vector<std::string>& Words, const TCtlEnvironment& Environment,
                    std::ostream& Out);

} // namespace q7n::cli
