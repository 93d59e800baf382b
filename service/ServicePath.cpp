#include "ServicePath.h"

namespace q7n {

std::string QuoteServicePath(const std::string& Path) {
    bool HasBlank = Path.find_first_of(" \t") != std::string::npos;
    bool Quoted = !Path.empty() && Path.front() == '"';
    if (!HasBlank || Quoted)
        return Path;
    return '"' + Path + '"';
}

} // namespace q7n
