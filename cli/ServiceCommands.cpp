#include "cli/ServiceCommands.h"

#include "base/IntegerConversion.h"
#include "cli/Arguments.h"
#include "cli/CommandError.h"
#include "cli/JsonWriter.h"
#include "cli/PrintableText.h"
#include "cli/RecordingServiceControlManager.h"
#include "platform/UnicodeText.h"
#include "service/DesiredState.h"
#include "service/ScmManager.h"
#include "service/ServicePaths.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <sstream>
#include <system_error>
#include <utility>

namespace q7n::cli {

using namespace platform;

namespace {

constexpr std::int64_t PollMilliseconds = 200;
// A restart must see the stop through before it starts; this bounds that wait without --wait.
constexpr std::int32_t RestartStopSeconds = 30;

std::string StateLine(TServiceState State) {
    return std::string(ServiceName) + ": " + ServiceStateCaption(State) + " (" +
           std::to_string(State) + ")";
}

// The failure of Action (such as "start") with the platform's Error, as one line saying what to
// do, with the exit code of its kind.
[[noreturn]] void Fail(const std::string& Action, std::uint32_t Error) {
    const std::string Name = ServiceName;
    const std::string Code = " (error " + std::to_string(Error) + ")";
    switch (Error) {
    case ErrorServiceDoesNotExist:
        throw ECommandError(ecNotInstalled,
                            Name + " is not installed; run 'q7nctl install' first" + Code);
    case ErrorAccessDenied:
        throw ECommandError(ecAccessDenied, "the service manager refused to " + Action + " " +
                                                Name + "; run q7nctl as an administrator" + Code);
    case ErrorServiceExists:
        throw ECommandError(ecFailed, Name +
                                          " is already installed; run 'q7nctl uninstall' "
                                          "first to register it again" +
                                          Code);
    case ErrorServiceAlreadyRunning:
        throw ECommandError(ecFailed, "cannot " + Action + " " + Name +
                                          " while it is still stopping; try again in a moment" +
                                          Code);
    case ErrorServiceMarkedForDelete:
        throw ECommandError(ecFailed, Name +
                                          " is marked for deletion; wait until it has "
                                          "stopped and try again" +
                                          Code);
    case ErrorFileNotFound:
    case ErrorBadExeFormat:
        throw ECommandError(ecFailed, "cannot " + Action + " " + Name +
                                          ": its program is missing or not a program; check the "
                                          "path shown by 'q7nctl status'" +
                                          Code);
    case ErrorServiceDatabaseLocked:
    case ErrorServiceCannotAcceptCtrl:
    case ErrorServiceRequestTimeout:
        throw ECommandError(ecFailed, "cannot " + Action + " " + Name +
                                          " now: the service or its manager is busy; try again "
                                          "in a moment" +
                                          Code);
    default:
        throw ECommandError(ecFailed, "cannot " + Action + " " + Name + Code);
    }
}

bool ProgramExists(const std::string& Program) {
    try {
        std::error_code Error;
        return std::filesystem::exists(Utf8Path(Program), Error);
    } catch (const std::system_error&) {
        return false;
    }
}

// The states a command aims at.
enum TTarget { tgInstalled, tgRemoved, tgRunning, tgStopped };

const char* TargetText(TTarget Target) {
    switch (Target) {
    case tgInstalled:
        return "be installed";
    case tgRemoved:
        return "be removed";
    case tgRunning:
        return "run";
    case tgStopped:
        return "stop";
    }
    return "";
}

// One connection to the service manager through the configurator's wrapper.
class TServiceSession {
public:
    explicit TServiceSession(const TCtlEnvironment& Environment)
        : FEnvironment(Environment), FRecorder(*Environment.ServiceManager),
          FScm(nullptr, FRecorder) {}

    // The manager's connection; false, with the reason in LastError, when refused.
    bool Open() { return FScm.Open(); }
    TScmManager& Scm() { return FScm; }
    std::uint32_t LastError() const { return FRecorder.LastError(); }

    // Whether the service is registered; State is its state (0 when not obtained).
    bool Query(TServiceState& State) {
        if (FScm.GetServiceState(ServiceName, State))
            return true;
        if (LastError() == ErrorServiceMarkedForDelete)
            return true; // deleted, but there until it has stopped
        if (LastError() != ErrorServiceDoesNotExist)
            Fail("query", LastError());
        return false;
    }

    // What the manager says of the service now.
    TServiceFacts Facts() {
        TServiceFacts Facts;
        Facts.Installed = Query(Facts.State);
        Facts.MarkedForDelete = Facts.Installed && LastError() == ErrorServiceMarkedForDelete;
        return Facts;
    }

    // Whether a command refused with Error finds the service already where it aims (States),
    // such as a start of a running service.
    bool AlreadyIn(std::uint32_t Error, std::initializer_list<std::uint32_t> States) {
        if (LastError() != Error)
            return false;
        TStatus Refusal = FRecorder.Last();
        TServiceState State = 0;
        if (Query(State) && std::find(States.begin(), States.end(), State) != States.end())
            return true;
        FRecorder.Restore(std::move(Refusal));
        return false;
    }

    // The command line the service manager holds for the service, asked with only the rights
    // to read it, so that a user who may not control the service sees it too. None when the
    // service is not installed or its configuration cannot be read.
    std::optional<std::string> RegisteredCommandLine() {
        // Each refusal means the same here: the line is not shown, and the status of the
        // wrapper's own query decides the exit code.
        IServiceControlManager& Manager = *FEnvironment.ServiceManager;
        TStatusOr<TScmHandleOwner> Connection = Manager.OpenManager(ScManagerConnect);
        if (!Connection.Ok())
            return std::nullopt;
        TStatusOr<TScmHandleOwner> Service =
            Manager.Open(Connection->Get(), ServiceName, ServiceQueryConfig);
        if (!Service.Ok())
            return std::nullopt;
        TStatusOr<std::string> CommandLine = Manager.QueryCommandLine(Service->Get());
        if (!CommandLine.Ok())
            return std::nullopt;
        return std::move(*CommandLine);
    }

    // Polls until the service reaches Target or Seconds have passed.
    void WaitFor(TTarget Target, std::int32_t Seconds, bool Print, std::ostream& Out) {
        IMonotonicClock& Clock = *FEnvironment.Clock;
        const std::int64_t Deadline = Clock.NowMilliseconds() + std::int64_t(Seconds) * 1000;
        for (;;) {
            TServiceState State = 0;
            bool Installed = Query(State);
            bool Reached = (Target == tgInstalled && Installed) ||
                           (Target == tgRemoved && !Installed) ||
                           (Target == tgRunning && State == ServiceRunning) ||
                           (Target == tgStopped && State == ServiceStopped);
            if (Reached) {
                if (Print)
                    Out << (Installed ? StateLine(State)
                                      : std::string(ServiceName) + ": not installed")
                        << "\n";
                return;
            }
            if (Target != tgRemoved && !Installed)
                throw ECommandError(ecNotInstalled, std::string(ServiceName) +
                                                        " was removed while q7nctl waited for "
                                                        "it to " +
                                                        TargetText(Target));
            if (Target == tgRunning && State == ServiceStopped)
                throw ECommandError(ecFailed, std::string(ServiceName) +
                                                  " stopped again after its start; see what its "
                                                  "program reports");
            std::int64_t Left = Deadline - Clock.NowMilliseconds();
            if (Left <= 0)
                throw ECommandError(ecTimedOut, std::string(ServiceName) + " did not " +
                                                    TargetText(Target) + " within " +
                                                    std::to_string(Seconds) + " s (it is " +
                                                    ServiceStateCaption(State) +
                                                    "); wait longer with --wait SECONDS");
            FEnvironment.Sleep(std::min(Left, PollMilliseconds));
        }
    }

private:
    const TCtlEnvironment& FEnvironment;
    TRecordingServiceControlManager FRecorder;
    TScmManager FScm;
};

void Status(TServiceSession& Session, const std::string& Folder, bool Json, std::ostream& Out) {
    const std::string Program = ServiceExecutablePath(Folder);
    const std::string PortsFile = PortsFilePath(Folder);
    // What is known is shown also when the manager refuses; the refusal decides the exit code.
    TServiceState State = 0;
    bool Known = Session.Open() && (Session.Scm().GetServiceState(ServiceName, State) ||
                                    Session.LastError() == ErrorServiceDoesNotExist);
    const std::uint32_t Error = Session.LastError();
    const bool Installed = Known && Error == ErrorSuccess;
    const std::optional<std::string> Registered = Session.RegisteredCommandLine();
    if (Json) {
        TJsonWriter Writer;
        Writer.BeginObject().Field("service", ServiceName).Key("installed");
        if (Known)
            Writer.Bool(Installed);
        else
            Writer.Null();
        Writer.Field("state", State)
            .Field("caption", ServiceStateCaption(State))
            .Field("program", Program)
            .Field("portsFile", PortsFile)
            .Key("registeredCommandLine")
            .StringOrNull(Registered)
            .EndObject();
        Out << Writer.Text() << "\n";
    } else {
        Out << StateLine(State) << (Known && !Installed ? ", not installed" : "") << "\n"
            << "program: " << Program << "\n"
            << "ports file: " << PortsFile << "\n";
        if (Registered)
            Out << "registered command line: " << Printable(*Registered) << "\n";
    }
    if (!Installed)
        Fail("query", Error);
}

// Sends Command (install, uninstall, start, stop, restart) and says on Out what was done; a restart
// waits up to StopSeconds for its stop. Answers the state the command aims at.
TTarget Send(TServiceSession& Session, const std::string& Command, const std::string& Folder,
             std::int32_t StopSeconds, std::ostream& Out, std::ostream& Err) {
    TScmManager& Scm = Session.Scm();
    if (Command == "install") {
        const std::string Program = ServiceExecutablePath(Folder);
        if (!Scm.InstallService(ServiceName, Program))
            Fail("install", Session.LastError());
        Out << ServiceName << " installed, program " << Program << "\n";
        if (!ProgramExists(Program))
            Err << "q7nctl: warning: " << Program
                << " does not exist; put the service's program there before starting it\n";
        return tgInstalled;
    }
    if (Command == "uninstall") {
        // As the configurator does: a stop first, then the wrapper's own stop and the deletion.
        static_cast<void>(Scm.StopService(ServiceName)); // a stopped service refuses it
        if (!Scm.UninstallService(ServiceName))
            Fail("uninstall", Session.LastError());
        Out << ServiceName << " uninstalled\n";
        return tgRemoved;
    }
    if (Command == "start") {
        if (Scm.StartService(ServiceName))
            Out << ServiceName << " starting\n";
        else if (Session.AlreadyIn(ErrorServiceAlreadyRunning,
                                   {ServiceRunning, ServiceStartPending}))
            Out << ServiceName << " is already running\n";
        else
            Fail("start", Session.LastError());
        return tgRunning;
    }
    if (Command == "stop") {
        if (Scm.StopService(ServiceName))
            Out << ServiceName << " stopping\n";
        else if (Session.LastError() == ErrorServiceNotActive)
            Out << ServiceName << " is not running\n";
        else if (Session.AlreadyIn(ErrorServiceCannotAcceptCtrl, {ServiceStopPending}))
            Out << ServiceName << " is already stopping\n";
        else
            Fail("stop", Session.LastError());
        return tgStopped;
    }
    // The start fails while the service is still stopping, so the stop is seen through.
    if (!Scm.StopService(ServiceName) && Session.LastError() != ErrorServiceNotActive &&
        !Session.AlreadyIn(ErrorServiceCannotAcceptCtrl, {ServiceStopPending}))
        Fail("stop", Session.LastError());
    Session.WaitFor(tgStopped, StopSeconds, false, Out);
    if (!Scm.StartService(ServiceName))
        Fail("start", Session.LastError());
    Out << ServiceName << " stopped, starting\n";
    return tgRunning;
}

void WriteFacts(TJsonWriter& Writer, const TServiceFacts& Facts) {
    Writer.BeginObject()
        .Field("installed", Facts.Installed && !Facts.MarkedForDelete)
        .Field("state", Facts.State)
        .Field("caption", ServiceStateCaption(Facts.State))
        .EndObject();
}

// service ensure STATE: does only what is missing for STATE, or with --check only says whether
// something is (exit 7).
int Ensure(TServiceSession& Session, const TArguments& Arguments, const std::string& Folder,
           std::ostream& Out, std::ostream& Err) {
    const std::vector<std::string>& Words = Arguments.Positional();
    const std::optional<TDesiredState> Desired =
        Words.size() == 2 && Words[0] == "ensure" ? DesiredStateFromText(Words[1]) : std::nullopt;
    if (!Desired)
        throw ECommandError(ecBadArguments, "'service' takes 'ensure installed|running|stopped|"
                                            "absent'; see q7nctl --help");
    const bool Check = Arguments.Has("--check");
    const bool Wait = Arguments.Has("--wait") && !Check;
    const std::int32_t Seconds = Arguments.WaitSeconds(0);
    if (!Session.Open())
        Fail("control", Session.LastError());
    const TServiceFacts Before = Session.Facts();
    const TEnsureAction Action = EnsureAction(*Desired, Before);
    const std::string Name = ServiceName;
    // By TEnsureAction, and the state to wait for by TDesiredState.
    static constexpr std::array<const char*, 6> Commands = {"",     "install",   "start",
                                                            "stop", "uninstall", ""};
    static constexpr std::array<const char*, 6> WouldDo = {"",        "installed",   "started",
                                                           "stopped", "uninstalled", ""};
    static constexpr std::array<TTarget, 4> Targets = {tgInstalled, tgRunning, tgStopped,
                                                       tgRemoved};
    const bool Changed = Action != eaNone && Action != eaRefuse;
    std::string Message;
    if (Action == eaNone)
        Message = Name + " is " + DesiredStateText(*Desired) + " already";
    else if (Action == eaRefuse)
        Message = Name + " is not installed; 'service ensure " + DesiredStateText(*Desired) +
                  "' does not install it: run 'q7nctl service ensure installed' first";
    else if (Check)
        Message = Name + " would be " + WouldDo[Action];
    if (Changed && !Check) {
        std::ostringstream Said;
        // A service that is stopping cannot start until it has stopped.
        if (Action == eaStart && Before.State == ServiceStopPending)
            Session.WaitFor(tgStopped, Wait ? Seconds : RestartStopSeconds, false, Said);
        static_cast<void>(Send(Session, Commands[Action], Folder, RestartStopSeconds, Said, Err));
        Message = Said.str();
        while (!Message.empty() && Message.back() == '\n')
            Message.pop_back();
    }
    // Also a start or a stop that was under way is seen through.
    if (Wait && Action != eaRefuse)
        Session.WaitFor(Targets[*Desired], Seconds, false, Out);
    const TServiceFacts After = Wait || (Changed && !Check) ? Session.Facts() : Before;
    if (Arguments.Has("--json")) {
        TJsonWriter Writer;
        Writer.BeginObject()
            .Field("service", ServiceName)
            .Field("desired", DesiredStateText(*Desired))
            .Key("before");
        WriteFacts(Writer, Before);
        Writer.Key("after");
        WriteFacts(Writer, After);
        Writer.Field("changed", Changed).Field("msg", Message).EndObject();
        Out << Writer.Text() << "\n";
    } else if (Action != eaRefuse) {
        Out << Message << "\n";
        if (Wait)
            Out << (After.Installed ? StateLine(After.State) : Name + ": not installed") << "\n";
    }
    if (Action == eaRefuse)
        return SayOutcome(ecNotInstalled, Message, Out, Err);
    if (Check && Changed)
        return SayOutcome(ecWouldChange, "--check: nothing was changed", Out, Err);
    return ecDone;
}

} // namespace

const std::string& TCtlEnvironment::RequireFolder() const {
    if (Folder.empty())
        throw ECommandError(ecFailed, "the current folder cannot be read (" + FolderError +
                                          "); change to the folder that holds "
                                          "Install/Q7NService.exe and try again");
    return Folder;
}

int RunServiceCommand(const std::string& Command, const std::vector<std::string>& Words,
                      const TCtlEnvironment& Environment, std::ostream& Out, std::ostream& Err) {
    const bool IsStatus = Command == "status";
    const bool IsEnsure = Command == "service";
    TArguments Arguments(Words, IsStatus   ? std::vector<TOptionRule>{{"--json", false}}
                                : IsEnsure ? std::vector<TOptionRule>{{"--json", false},
                                                                      {"--check", false},
                                                                      {"--wait", true}}
                                           : std::vector<TOptionRule>{{"--wait", true}});
    if (!IsEnsure && !Arguments.Positional().empty())
        throw ECommandError(ecBadArguments, "'" + Command + "' takes no word '" +
                                                Arguments.Positional().front() +
                                                "'; see q7nctl --help");
    const std::string& Folder = Environment.RequireFolder();
    TServiceSession Session(Environment);
    if (IsStatus) {
        Status(Session, Folder, Arguments.Has("--json"), Out);
        return ecDone;
    }
    if (IsEnsure)
        return Ensure(Session, Arguments, Folder, Out, Err);
    const bool Wait = Arguments.Has("--wait");
    const std::int32_t Seconds = Arguments.WaitSeconds(0);
    if (!Session.Open())
        Fail("control", Session.LastError());
    const TTarget Target =
        Send(Session, Command, Folder, Wait ? Seconds : RestartStopSeconds, Out, Err);
    if (Wait)
        Session.WaitFor(Target, Seconds, true, Out);
    return ecDone;
}

} // namespace q7n::cli
