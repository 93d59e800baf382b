#include "ServicePaths.h"

namespace q7n {

namespace {

#ifdef _WIN32
constexpr const char* ExecutableBelowFolder = "\\Install\\Q7NService.exe";
constexpr const char* PortsFileBelowFolder = "\\Q7NPorts.xml";
#else
constexpr const char* ExecutableBelowFolder = "/Install/Q7NService.exe";
constexpr const char* PortsFileBelowFolder = "/Q7NPorts.xml";
#endif

} // namespace

std::string ServiceExecutablePath(const std::string& Folder) {
    return Folder + ExecutableBelowFolder;
}

std::string PortsFilePath(const std::string& Folder) {
    return Folder + PortsFileBelowFolder;
}

} // namespace q7n
