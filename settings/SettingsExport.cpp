#include "settings/SettingsExport.h"

#include "platform/RegistryExport.h"
#include "settings/ServiceOptions.h"

namespace q7n {

using namespace platform;

TStatusOr<std::string> ExportServiceOptions(IRegistry& Registry, bool For32BitWindows) {
    const std::string Key = ServiceOptionsKeyPath;
    const std::string Shown = For32BitWindows ? Key : PathIn32BitViewOn64BitWindows(Key);
    TStatusOr<std::string> File = ExportRegistryKey(Registry, TRegRoot::rrLocalMachine, Key, Shown);
    if (File.Ok())
        return File;
    const std::uint32_t Error = File.Status().Code();
    const std::string Named = std::string(RegRootName(TRegRoot::rrLocalMachine)) + "\\" + Key;
    if (Error == ErrorFileNotFound)
        return TStatus(Error, Named + " is not in " + Registry.Describe());
    return TStatus(Error, "cannot read " + Named + " from " + Registry.Describe() + ": error " +
                              std::to_string(Error));
}

} // namespace q7n
