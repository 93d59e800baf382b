#pragma once

#include <string>

namespace q7n {

// The command line to register for a service executable. A path with a blank is quoted, unless it
// is quoted already: unquoted, Windows would try "C:\Program.exe" and every other prefix of the
// path that ends at a blank, and run the first that exists under the service's account.
std::string QuoteServicePath(const std::string& Path);

} // namespace q7n
