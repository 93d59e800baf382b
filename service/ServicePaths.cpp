#include "ServicePaths.h"

#include "Exceptions.h"

#include <filesystem>

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

std::string CurrentFolder() {
    std::error_code Error;
    std::filesystem::path Folder = std::filesystem::current_path(Error);
    if (Error)
        throw Exception("Не удалось прочитать текущую папку: " + Error.message() +
                        ". Запустите программу из существующей папки.");
    return Folder.string();
}

} // namespace q7n
