#pragma once

#include "base/StatusOr.h"

#include <string>

namespace q7n {

// The name under which the service is registered.
inline constexpr const char* ServiceName = "Q7NSrv";

// The service's program and its ports file below a folder (the process's current folder),
// joined with the host's own separator; the folder is taken as it is, a trailing separator
// included.
std::string ServiceExecutablePath(const std::string& Folder);
std::string PortsFilePath(const std::string& Folder);

// Both paths below the process's current directory as the platform reports it, the way the
// configurator takes them when its window is created. A drive root on Windows is "C:\", so the
// paths then hold a doubled backslash; they are used that way. Fails as CurrentDirectory does.
struct TServiceFiles {
    std::string ServicePath;
    std::string PortsFile;
};
TStatusOr<TServiceFiles> ServiceFilesInCurrentDirectory();
// The same for a window that cannot be made without them: raises q7n::Exception with the
// status's text when the folder cannot be read.
TServiceFiles ServiceFilesInCurrentDirectoryOrRaise();

// The command line to register for a service executable. A path with a blank is quoted, unless it
// is quoted already: unquoted, Windows would try "C:\Program.exe" and every other prefix of the
// path that ends at a blank, and run the first that exists under the service's account.
std::string QuoteServicePath(const std::string& Path);

} // namespace q7n
