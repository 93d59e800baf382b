#pragma once

#include "cli/CtlEnvironment.h"

#include <ostream>
#include <string>
#include <vector>

namespace q7n::cli {

// ports list|add|set|remove|check ... (Words start after "ports"). Answers the exit code;
// failures raise ECommandError; warnings go to Err.
int RunPortsCommand(const std::vector<std::string>& Words, const TCtlEnvironment& Environment,
                    std::ostream& Out, std::ostream& Err);

// doctor [--json] [--file PATH] [--wait SECONDS]: the ports file's checks and what the machine
// says against its mappings and the service, with who is connected to the mapped ports.
int RunDoctorCommand(const std::vector<std::string>& Words, const TCtlEnvironment& Environment,
                     std::ostream& Out, std::ostream& Err);

} // namespace q7n::cli
