#pragma once

#include "ports/PortListChange.h"

#include <istream>
#include <string>
#include <vector>

namespace q7n::cli {

// The mappings that 'ports apply' is to leave in the ports file, read from Source: a ports file,
// or the document that 'ports list --json' prints (its fields other than the mappings' five
// values are ignored); "-" reads Input. The first byte that is not blank tells which: '{' JSON,
// anything else XML. Raises ECommandError with ecBadArguments when Source cannot be read or
// holds a value the ports file cannot store.
std::vector<TPortValues> ReadDesiredPorts(const std::string& Source, std::istream& Input);

} // namespace q7n::cli
