#pragma once

#include "cli/CtlEnvironment.h"

#include <ostream>
#include <string>
#include <vector>

namespace q7n::cli {

// settings export FILE.reg [--for-32-bit-windows] (Words start after "settings").
int RunSettingsCommand(const std::vector<std::string>& Words, const TCtlEnvironment& Environment,
                       std::ostream& Out);

} // namespace q7n::cli
