#include "platform/CommandLine.h"

namespace q7n::platform {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return {argv, argv + argc};
}

} // namespace q7n::platform
