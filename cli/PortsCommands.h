#pragma once

#include "cli/CommandHelp.h"
#include "cli/CtlEnvironment.h"

#include <ostream>
#include <string>
#include <vector>

namespace q7n::cli {

// ports list|add|set|remove|check ... (Words start after "ports"). Answers the exit code;
// failures raise ECommandError, findings are said on Err; warnings go to Err.
int RunPortsCommand(const std::vector<std::string>& Words, const TCtlEnvironment& Environment,
                    std::ostream& Out, std::ostream& Err);

// doctor [--json] [--file PATH] [--wait SECONDS]: the ports file's checks and what the machine
// says against its mappings and the service, with who is connected to the mapped ports.
int RunDoctorCommand(const std::vector<std::string>& Words, const TCtlEnvironment& Environment,
                     std::ostream& Out, std::ostream& Err);

// The ports commands' lines in q7nctl --help, and what holds for all of them.
std::vector<THelpLine> PortsHelpLines();
extern const char* const PortsHelpNotes;

} // namespace q7n::cli
