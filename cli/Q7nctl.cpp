#include "cli/Q7nctl.h"

#include "cli/CommandError.h"
#include "cli/PortsCommands.h"
#include "cli/PrintableText.h"
#include "cli/ServiceCommands.h"
#include "cli/SettingsCommands.h"

#include <exception>

namespace q7n::cli {

const char* const Q7nctlHelp =
    R"(Usage: q7nctl COMMAND [OPTIONS]

Controls the service Q7NSrv and edits its ports file, as the configurator does, for the folder
q7nctl runs in: the service's program is Install/Q7NService.exe and the ports file Q7NPorts.xml
below it. One command per call.

Service:
  status [--json]           the state, the program path, the ports file path and the command
                            line the service is registered with
  install [--wait SECONDS]  register the service (automatic start, program as above)
  uninstall [--wait SECONDS]
  start [--wait SECONDS]    with --wait, wait (polling) until it runs
  stop [--wait SECONDS]     with --wait, wait until it has stopped
  restart [--wait SECONDS]  stop, wait for the stop (at most 30 s, or SECONDS), start

Ports file (--file PATH names another file than ./Q7NPorts.xml):
  ports list [--json]
  ports add [--ip IP] [--remote-port N] [--local-port N] [--com N] [--rate N]
                            a new mapping; what is not given takes the default
                            (192.168.1.6, 8080, 8080, COM1, 9600)
  ports set ROW [--ip IP] [--remote-port N] [--local-port N] [--com N] [--rate N]
                            change only the given values of row ROW (counted from 1)
  ports remove ROW...       remove the rows
  ports check [--json]      list mappings that conflict or hold values the service cannot use
  Numbers are decimal or hexadecimal ($1F90, 0x1F90). A file that cannot be read is never
  changed unless --force is given; it is then kept as Q7NPorts.rejected.xml.
  While another q7nctl or a configurator window saves the file, a command waits for it, at most
  10 seconds or --wait SECONDS (exit 5 when it runs out). A file that another program changed
  while a command was changing it is not overwritten (exit 1).

Why a mapping does not work:
  doctor [--json]           the checks of 'ports check', and what this machine says against
                            the mappings and the service, read only (no COM port is opened):
                            comPortMissing       the COM port is not present on this machine
                            localPortTaken       another program listens on the local port
                            notListening         the service runs, yet nothing listens there
                            registeredElsewhere  the service runs another folder's program
                            programMissing       Install/Q7NService.exe is missing here
                            stoppedWithError     the service stopped with an error code
                            and, for information, who is connected to each local port

Settings:
  settings export FILE.reg [--for-32-bit-windows]
                            the configurator's registry key as a file for the registry editor
                            of 64-bit Windows; --for-32-bit-windows: for that of 32-bit Windows
                            (or SysWOW64\regedit.exe on 64-bit Windows)

Exit codes:
  0  done
  1  other failure
  2  bad arguments
  3  the service is not installed
  4  access denied (run as an administrator)
  5  timed out (--wait), or the ports file stayed locked by another program
  6  the ports file cannot be read, or 'ports check' or 'doctor' found problems
)";

namespace {

int Dispatch(const std::vector<std::string>& Arguments, const TCtlEnvironment& Environment,
             std::ostream& Out, std::ostream& Err) {
    if (Arguments.empty())
        throw ECommandError(ecBadArguments, "no command given; see q7nctl --help");
    const std::string& Command = Arguments.front();
    const std::vector<std::string> Rest(Arguments.begin() + 1, Arguments.end());
    if (Command == "--help" || Command == "-h" || Command == "help") {
        Out << Q7nctlHelp;
        return ecDone;
    }
    if (IsServiceCommand(Command))
        return RunServiceCommand(Command, Rest, Environment, Out, Err);
    if (Command == "ports")
        return RunPortsCommand(Rest, Environment, Out, Err);
    if (Command == "doctor")
        return RunDoctorCommand(Rest, Environment, Out, Err);
    if (Command == "settings")
        return RunSettingsCommand(Rest, Environment, Out);
    throw ECommandError(ecBadArguments, "unknown command '" + Command + "'; see q7nctl --help");
}

} // namespace

int RunQ7nctl(const std::vector<std::string>& Arguments, const TCtlEnvironment& Environment,
              std::ostream& Out, std::ostream& Err) {
    try {
        int Code = Dispatch(Arguments, Environment, Out, Err);
        Out.flush();
        return Code;
    } catch (const ECommandError& Error) {
        Out.flush();
        Err << "q7nctl: " << Printable(Error.what()) << "\n";
        return Error.Code();
    } catch (const std::exception& Error) {
        Out.flush();
        Err << "q7nctl: " << Printable(Error.what()) << "\n";
        return ecFailed;
    }
}

} // namespace q7n::cli
