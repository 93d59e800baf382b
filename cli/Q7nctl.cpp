#include "cli/Q7nctl.h"

#include "cli/CommandError.h"
#include "cli/CommandHelp.h"
#include "cli/PortsCommands.h"
#include "cli/ServiceCommands.h"
#include "cli/SettingsCommands.h"

#include <exception>

namespace q7n::cli {

namespace {

const char* const HelpIntro = R"(Usage: q7nctl COMMAND [OPTIONS]

Controls the service Q7NSrv and edits its ports file, as the configurator does, for the folder
q7nctl runs in: the service's program is Install/Q7NService.exe and the ports file Q7NPorts.xml
below it. One command per call.
)";

const char* const HelpExitCodes = R"(
Exit codes:
  0  done
  1  other failure
  2  bad arguments
  3  the service is not installed
  4  access denied (run as an administrator)
  5  timed out (--wait), or the ports file stayed locked by another program
  6  the ports file cannot be read, or 'ports check' or 'doctor' found problems
  7  --check ('ports apply', 'service ensure'): the command would change something
  8  'ports apply --restart': the service did not take the new mappings; the previous
     file was put back
)";

using TCommandRun = int (*)(const std::string& Name, const std::vector<std::string>& Words,
                            const TCtlEnvironment& Environment, std::ostream& Out,
                            std::ostream& Err);

// One command of q7nctl, named by its first word; the words after it are its own.
struct TCommand {
    const char* Name;
    TCommandRun Run;
    const char* Heading; // of the help's section it opens, or nullptr
    std::vector<THelpLine> Help;
    const char* Notes = nullptr; // below its lines in the help
};

int ShowHelp(const std::string&, const std::vector<std::string>&, const TCtlEnvironment&,
             std::ostream& Out, std::ostream&);

int PortsCommand(const std::string&, const std::vector<std::string>& Words,
                 const TCtlEnvironment& Environment, std::ostream& Out, std::ostream& Err) {
    return RunPortsCommand(Words, Environment, Out, Err);
}

int DoctorCommand(const std::string&, const std::vector<std::string>& Words,
                  const TCtlEnvironment& Environment, std::ostream& Out, std::ostream& Err) {
    return RunDoctorCommand(Words, Environment, Out, Err);
}

int SettingsCommand(const std::string&, const std::vector<std::string>& Words,
                    const TCtlEnvironment& Environment, std::ostream& Out, std::ostream&) {
    return RunSettingsCommand(Words, Environment, Out);
}

// In the order of the help.
const std::vector<TCommand>& Commands() {
    // clang-format off
    static const std::vector<TCommand> Table = {
        {"status", RunServiceCommand, "Service:",
         {{"status [--json]", "the state, the program path, the ports file path and the command\n"
                              "line the service is registered with"}}},
        {"install", RunServiceCommand, nullptr,
         {{"install [--wait SECONDS]",
           "register the service (automatic start, program as above)"}}},
        {"uninstall", RunServiceCommand, nullptr,
         {{"uninstall [--wait SECONDS]", ""}}},
        {"start", RunServiceCommand, nullptr,
         {{"start [--wait SECONDS]", "with --wait, wait (polling) until it runs"}}},
        {"stop", RunServiceCommand, nullptr,
         {{"stop [--wait SECONDS]", "with --wait, wait until it has stopped"}}},
        {"restart", RunServiceCommand, nullptr,
         {{"restart [--wait SECONDS]",
           "stop, wait for the stop (at most 30 s, or SECONDS), start"}}},
        {"service", RunServiceCommand, nullptr,
         {{"service ensure installed|running|stopped|absent [--check] [--json] [--wait SECONDS]",
           "do only what is missing for the state: install, start, stop or\n"
           "uninstall; running and stopped need an installed service (exit 3);\n"
           "--check does nothing and answers 7 when something would change"}}},
        {"ports", PortsCommand, "Ports file (--file PATH names another file than ./Q7NPorts.xml):",
         PortsHelpLines(), PortsHelpNotes},
        {"doctor", DoctorCommand, "Why a mapping does not work:",
         {{"doctor [--json]", "the checks of 'ports check', and what this machine says against\n"
                              "the mappings and the service, read only (no COM port is opened):\n"
                              "comPortMissing       the COM port is not present on this machine\n"
                              "localPortTaken       another program listens on the local port\n"
                              "notListening         the service runs, yet nothing listens there\n"
                              "registeredElsewhere  the service runs another folder's program\n"
                              "programMissing       Install/Q7NService.exe is missing here\n"
                              "stoppedWithError     the service stopped with an error code\n"
                              "and, for information, who is connected to each local port"}}},
        {"settings", SettingsCommand, "Settings:",
         {{"settings export FILE.reg [--for-32-bit-windows]",
           "the configurator's registry key as a file for the registry editor\n"
           "of 64-bit Windows; --for-32-bit-windows: for that of 32-bit Windows\n"
           "(or SysWOW64\\regedit.exe on 64-bit Windows)"}}},
        {"--help", ShowHelp, nullptr, {}},
        {"-h",     ShowHelp, nullptr, {}},
        {"help",   ShowHelp, nullptr, {}},
    };
    // clang-format on
    return Table;
}

int ShowHelp(const std::string&, const std::vector<std::string>&, const TCtlEnvironment&,
             std::ostream& Out, std::ostream&) {
    Out << Q7nctlHelp();
    return ecDone;
}

int Dispatch(const std::vector<std::string>& Arguments, const TCtlEnvironment& Environment,
             std::ostream& Out, std::ostream& Err) {
    if (Arguments.empty())
        throw ECommandError(ecBadArguments, "no command given; see q7nctl --help");
    const std::string& Name = Arguments.front();
    for (const TCommand& Command : Commands())
        if (Name == Command.Name)
            return Command.Run(Name, {Arguments.begin() + 1, Arguments.end()}, Environment, Out,
                               Err);
    throw ECommandError(ecBadArguments, "unknown command '" + Name + "'; see q7nctl --help");
}

} // namespace

std::string Q7nctlHelp() {
    std::string Text = HelpIntro;
    for (const TCommand& Command : Commands()) {
        if (Command.Heading)
            Text.append("\n").append(Command.Heading).append("\n");
        for (const THelpLine& Line : Command.Help)
            AppendHelpLine(Text, Line);
        if (Command.Notes)
            Text += Command.Notes;
    }
    return Text + HelpExitCodes;
}

int RunQ7nctl(const std::vector<std::string>& Arguments, const TCtlEnvironment& Environment,
              std::ostream& Out, std::ostream& Err) {
    try {
        int Code = Dispatch(Arguments, Environment, Out, Err);
        Out.flush();
        return Code;
    } catch (const ECommandError& Error) {
        return SayOutcome(Error.Code(), Error.what(), Out, Err);
    } catch (const std::exception& Error) {
        return SayOutcome(ecFailed, Error.what(), Out, Err);
    }
}

} // namespace q7n::cli
