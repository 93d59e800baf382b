#include "SettingsCommands.h"

#include "Arguments.h"
#include "CommandError.h"
#include "RegistryExport.h"
#include "ServiceOptions.h"

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

    // 64-bit Windows shows the 32-bit view, in which the key lives, below WOW6432Node.
    const std::string Key = ServiceOptionsKeyPath;
    const std::string Shown =
        Arguments.Has("--for-32-bit-windows") ? Key : PathIn32BitViewOn64BitWindows(Key);
    std::string File;
    std::uint32_t Error =
        ExportRegistryKey(*Environment.Registry, TRegRoot::rrLocalMachine, Key, Shown, File);
    const std::string Where = "HKEY_LOCAL_MACHINE\\" + Key;
    const std::string Code = " (error " + std::to_string(Error) + ")";
    if (Error == ErrorFileNotFound)
        throw ECommandError(ecFailed, Where + " does not exist: the configurator has stored no "
                                              "settings here yet; nothing was written");
    if (Error == ErrorAccessDenied)
        throw ECommandError(ecAccessDenied,
                            "cannot read " + Where + "; run q7nctl as an administrator" + Code);
    if (Error != ErrorSuccess)
        throw ECommandError(ecFailed, "cannot read " + Where + Code);

    if (!SaveRegistryExportFile(Path, File))
        throw ECommandError(ecFailed, "cannot write " + Path +
                                          "; check that its folder exists and is writable");
    Out << "Settings written to " << Path << "\n";
    return ecDone;
}

} // namespace q7n::cli
