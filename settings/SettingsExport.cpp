#include "settings/SettingsExport.h"

#include "platform/RegistryExport.h"
#include "settings/ServiceOptions.h"

namespace q7n {

using namespace platform;

std::uint32_t ExportServiceOptions(IRegistry& Registry, bool For32BitWindows, std::string& File,
                                   std::string& Problem) {
    const std::string Key = ServiceOptionsKeyPath;
    const std::string Shown = For32BitWindows ? Key : PathIn32BitViewOn64BitWindows(Key);
    std::uint32_t Error = ExportRegistryKey(Registry, TRegRoot::rrLocalMachine, Key, Shown, File);
    const std::string Named = std::string(RegRootName(TRegRoot::rrLocalMachine)) + "\\" + Key;
    if (Error == ErrorFileNotFound)
        Problem = Named + " is not in " + Registry.Describe();
    else if (Error != ErrorSuccess)
        Problem = "cannot read " + Named + " from " + Registry.Describe() + ": error " +
                  std::to_string(Error);
    return Error;
}

} // namespace q7n
