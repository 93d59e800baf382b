#include "cli/SettingsCommands.h"

#include "cli/Arguments.h"
#include "cli/CommandError.h"
#include "platform/RegistryExport.h"
#include "settings/SettingsExport.h"

namespace q7n::cli {

using namespace platform;

int RunSettingsCommand(const std::vector<std::string>& Words, const TCtlEnvironment& Environment,
                       std::ostream& Out) {
    if (Words.empty() || Words.front() != "export")
        throw ECommandError(ecBadArguments, "'settings' needs export FILE.reg; see q7nctl --help");
    TArguments Arguments(std::vector<std::string>(Words.begin() + 1, Words.end()),
                         {{"--for-32-bit-windows", false}});
    if (Arguments.Positional().size() != 1)
        throw ECommandError(ecBadArguments, "'settings export' takes the name of one file");
    const std::string& Path = Arguments.Positional().front();

    TStatusOr<std::string> File =
        ExportServiceOptions(*Environment.Registry, Arguments.Has("--for-32-bit-windows"));
    const std::uint32_t Error = File.Status().Code();
    const std::string& Problem = File.Status().Text();
    if (Error == ErrorFileNotFound)
        throw ECommandError(ecFailed, Problem + ": the configurator has stored no settings here "
                                                "yet; nothing was written");
    if (Error == ErrorAccessDenied)
        throw ECommandError(ecAccessDenied, Problem + "; run q7nctl as an administrator");
    if (Error != ErrorSuccess)
        throw ECommandError(ecFailed, Problem);

    if (!SaveRegistryExportFile(Path, *File))
        throw ECommandError(ecFailed, "cannot write " + Path +
                                          "; check that its folder exists and is writable");
    Out << "Settings written to " << Path << "\n";
    return ecDone;
}

} // namespace q7n::cli
