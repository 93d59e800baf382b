#pragma once

#include <string>

namespace q7n {

// The service's program and its ports file below a folder (the process's current folder),
// joined with the host's own separator; the folder is taken as it is, a trailing separator
// included.
std::string ServiceExecutablePath(const std::string& Folder);
std::string PortsFilePath(const std::string& Folder);

} // namespace q7n
