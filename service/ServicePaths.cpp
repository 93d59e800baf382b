#include "service/ServicePaths.h"

#include "base/Exceptions.h"
#include "platform/CurrentDirectory.h"

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

TStatusOr<TServiceFiles> ServiceFilesInCurrentDirectory() {
    TStatusOr<std::string> Folder = platform::CurrentDirectory();
    if (!Folder.Ok())
        return Folder.Status();
    return TServiceFiles{ServiceExecutablePath(*Folder), PortsFilePath(*Folder)};
}

TServiceFiles ServiceFilesInCurrentDirectoryOrRaise() {
    TStatusOr<TServiceFiles> Files = ServiceFilesInCurrentDirectory();
    if (!Files.Ok())
        throw Exception(Files.Status().Text());
    return std::move(Files).Value();
}

std::string QuoteServicePath(const std::string& Path) {
    bool HasBlank = Path.find_first_of(" \t") != std::string::npos;
    bool Quoted = !Path.empty() && Path.front() == '"';
    if (!HasBlank || Quoted)
        return Path;
    return '"' + Path + '"';
}

} // namespace q7n
