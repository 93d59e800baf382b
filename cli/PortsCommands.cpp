#include "cli/PortsCommands.h"

#include "base/Exceptions.h"
#include "base/IntegerConversion.h"
#include "cli/Arguments.h"
#include "cli/CommandError.h"
#include "cli/DesiredPorts.h"
#include "cli/JsonWriter.h"
#include "cli/PrintableText.h"
#include "cli/VerifiedRestart.h"
#include "platform/DurableReplace.h"
#include "platform/FileSystem.h"
#include "platform/UnicodeText.h"
#include "ports/PortConflicts.h"
#include "ports/PortListChange.h"
#include "ports/Q7NDocument.h"
#include "service/MachineDoctor.h"
#include "service/PortsFileMessages.h"
#include "service/ServicePaths.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <set>
#include <system_error>

namespace q7n::cli {

namespace {

const std::vector<TOptionRule> ValueOptions = {
    {"--ip", true},   {"--remote-port", true}, {"--local-port", true}, {"--com", true},
    {"--rate", true}, {"--file", true},        {"--force", false},     {"--wait", true},
};

// How long a command waits for another program of ours to finish with the file, unless --wait
// says otherwise.
constexpr std::int32_t DefaultLockWaitSeconds = 10;

const char* KindName(TPortFindingKind Kind) {
    switch (Kind) {
    case pfLocalPortShared:
        return "localPortShared";
    case pfCOMPortShared:
        return "comPortShared";
    case pfRemotePortOutOfRange:
        return "remotePortOutOfRange";
    case pfLocalPortOutOfRange:
        return "localPortOutOfRange";
    case pfRateNotOffered:
        return "rateNotOffered";
    case pfBadAddress:
        return "badAddress";
    }
    return "";
}

// "row 3: local port 8080 is also used by row 1", safe for a terminal.
void AppendFindingLine(std::string& Out, const TPortFinding& Finding, const TQ7NPorts& Ports) {
    Out += "row " + std::to_string(Finding.Row) + ": ";
    AppendPortFindingText(Out, Finding, Ports);
    Out += '\n';
}

// The ports file of one command, loaded through the port document. A command that changes it
// holds its lock from before the load until the save is done, so that two commands, or a command
// and a window, never both load one content and each save a change of its own over it; a
// command that reads it holds the lock shared, so that it never meets a save half done.
class TPortsFile {
public:
    TPortsFile(const TArguments& Arguments, const TCtlEnvironment& Environment, bool Changing)
        : FPath(Arguments.Has("--file") ? *Arguments.Value("--file")
                                        : PortsFilePath(Environment.RequireFolder())) {
        if (FPath.empty())
            throw ECommandError(ecBadArguments, "--file needs the path of a ports file");
        Lock(Changing, Arguments.WaitSeconds(DefaultLockWaitSeconds));
        FDocument.Load(FPath);
    }

    const std::string& Path() const { return FPath; }
    TQ7NPorts& Ports() { return *FDocument.Options()->Q7NPorts(); }

    // Commands that only read refuse an unreadable file; commands that change it refuse
    // unless forced, and the save then keeps the unreadable file beside it.
    void RequireReadable(bool Changing, bool Force) const {
        const TXMLLoadResult& Load = FDocument.LastLoad();
        if (Load.Status != lsRejected || (Changing && Force))
            return;
        std::string What = FPath + " cannot be read";
        if (!Load.Reason.empty())
            What += ": " + Load.Reason;
        if (std::string Where = LoadLocation(Load, EnglishLocationWords); !Where.empty())
            What += " (" + Where + ")";
        if (!Changing)
            throw ECommandError(ecPortsFile, What + "; repair it or restore it from a copy");
        throw ECommandError(ecPortsFile,
                            What +
                                "; nothing was changed. Repair it, or add --force to start "
                                "a new list (the unreadable file is then kept as " +
                                TXMLOptionsSerializer::RejectedCopyPath(FPath) + ")");
    }

    // Saves the list; a step after the replacement that failed (such as the flush of the
    // folder) leaves the new file in place and is a warning, not a failure.
    void Save(std::ostream& Out, std::ostream& Err) {
        // The lock keeps our programs out; this catches one that does not take it.
        if (FDocument.ChangedOnDisk())
            throw ECommandError(ecFailed, FPath + " was changed by another program while q7nctl "
                                                  "was changing it; nothing was saved. Run the "
                                                  "command again");
        const TXMLSaveResult& Save = FDocument.Save(FPath);
        if (!Save)
            throw ECommandError(ecFailed, "cannot save " + FPath + ": " + Save.Reason +
                                              "; the previous file is unchanged");
        if (!Save.KeptRejectedPath.empty())
            Out << "The unreadable file was kept as " << Save.KeptRejectedPath << "\n";
        if (!Save.Remark.empty())
            Err << "q7nctl: warning: " << Printable(FPath) << " was saved, but "
                << Printable(Save.Remark) << "\n";
    }

private:
    void Lock(bool Changing, std::int32_t WaitSeconds) {
        const std::string LockPath = TXMLOptionsSerializer::LockPath(FPath);
        try {
            FLock = TQ7NDocument::Lock(FPath, Changing ? platform::lmExclusive : platform::lmShared,
                                       std::chrono::seconds(WaitSeconds));
        } catch (const std::system_error& Error) {
            // One who may not create the lock file may still read the ports file.
            if (!Changing)
                return;
            throw ECommandError(ecFailed, std::string(Error.what()) + "; nothing was changed");
        }
        if (!FLock)
            throw ECommandError(ecTimedOut,
                                FPath + " is being changed by another program, which holds " +
                                    LockPath + "; nothing was " + (Changing ? "changed" : "read") +
                                    ". Try again, or wait longer with --wait SECONDS");
    }

    std::string FPath;
    platform::TFileLock FLock; // declared before the document, so that it goes after it
    TQ7NDocument FDocument;
};

std::int32_t IntegerOption(const std::string& Name, const std::string& Text) {
    try {
        return StrToInt(Text);
    } catch (const EConvertError& Error) {
        throw ECommandError(ecBadArguments, Name + ": " + Error.what() + "; give a whole number");
    }
}

// The values given on the command line into Port; false when none was given. Checks every
// value before the caller saves anything.
bool ApplyValues(const TArguments& Arguments, TQ7NPort& Port) {
    bool Any = false;
    if (auto IP = Arguments.Value("--ip")) {
        Port.SetIP(*IP);
        Any = true;
    }
    if (auto Text = Arguments.Value("--remote-port")) {
        Port.SetRemoutePort(IntegerOption("--remote-port", *Text));
        Any = true;
    }
    if (auto Text = Arguments.Value("--local-port")) {
        Port.SetLocalPort(IntegerOption("--local-port", *Text));
        Any = true;
    }
    if (auto Text = Arguments.Value("--com")) {
        std::int32_t COM = IntegerOption("--com", *Text);
        if (COM < 1 || COM > 256)
            throw ECommandError(ecBadArguments, "--com takes a COM port number from 1 to 256, "
                                                "not " +
                                                    std::to_string(COM));
        Port.SetCOMPort(COM);
        Any = true;
    }
    if (auto Text = Arguments.Value("--rate")) {
        std::int32_t Rate = IntegerOption("--rate", *Text);
        if (Rate <= 0)
            throw ECommandError(ecBadArguments,
                                "--rate takes a baud rate above 0, not " + std::to_string(Rate));
        Port.SetCpRate(Rate);
        Any = true;
    }
    return Any;
}

int RowNumber(const std::string& Text, int Count) {
    std::optional<std::int32_t> Row = TryStrToInt(Text);
    if (!Row || *Row < 1 || *Row > Count)
        throw ECommandError(ecBadArguments,
                            "there is no row '" + Text + "': the list has " +
                                std::to_string(Count) + " mappings" +
                                (Count ? ", rows 1 to " + std::to_string(Count) : std::string()));
    return *Row;
}

// Stored as given, as the port editor stores it; what the check finds is said as a warning.
void WarnAbout(TQ7NPorts& Ports, int Row, std::ostream& Err) {
    TPortCheckResult Check = CheckPorts(Ports);
    for (const TPortFinding& Finding : Check.ForRow(Row)) {
        std::string Line = "q7nctl: warning: ";
        AppendFindingLine(Line, Finding, Ports);
        Err << Line;
    }
}

void List(TQ7NPorts& Ports, const std::string& Path, bool Json, std::ostream& Out) {
    const int Count = Ports.Count();
    if (Json) {
        TJsonWriter Writer;
        Writer.Reserve(64 + std::size_t(Count) * 96);
        Writer.BeginObject().Field("file", Path).Key("mappings").BeginArray();
        for (int I = 0; I < Count; ++I) {
            const TQ7NPort& Port = *Ports.Items(I);
            Writer.BeginObject()
                .Field("row", I + 1)
                .Field("ip", Port.IP())
                .Field("remotePort", Port.RemoutePort())
                .Field("localPort", Port.LocalPort())
                .Field("comPort", Port.COMPort())
                .Field("rate", Port.CpRate())
                .EndObject();
        }
        Writer.EndArray().EndObject();
        Out << Writer.Text() << '\n';
        return;
    }
    std::vector<std::vector<std::string>> Rows;
    Rows.push_back({"#", "IP", "Remote port", "Local port", "COM port", "COM rate"});
    for (int I = 0; I < Count; ++I) {
        const TQ7NPort& Port = *Ports.Items(I);
        Rows.push_back({std::to_string(I + 1), Printable(Port.IP()),
                        std::to_string(Port.RemoutePort()), std::to_string(Port.LocalPort()),
                        "COM" + std::to_string(Port.COMPort()), std::to_string(Port.CpRate())});
    }
    std::vector<std::size_t> Widths(Rows.front().size(), 0);
    for (const auto& Row : Rows)
        for (std::size_t C = 0; C < Row.size(); ++C)
            Widths[C] = std::max(Widths[C], Row[C].size());
    std::string Text;
    for (const auto& Row : Rows) {
        for (std::size_t C = 0; C < Row.size(); ++C) {
            Text += Row[C];
            if (C + 1 < Row.size())
                Text.append(Widths[C] - Row[C].size() + 2, ' ');
        }
        Text += '\n';
    }
    Out << Text;
}

std::optional<std::int64_t> RowOrNone(int Row) {
    return Row ? std::optional<std::int64_t>(Row) : std::nullopt;
}

// A finding of the file's check as the members of an object of 'ports check --json'.
TJsonWriter& WriteFindingFields(TJsonWriter& Writer, const TPortFinding& Finding,
                                TQ7NPorts& Ports) {
    std::string Text;
    AppendPortFindingText(Text, Finding, Ports);
    return Writer.Field("row", Finding.Row)
        .Field("kind", KindName(Finding.Kind))
        .Key("otherRow")
        .NumberOrNull(RowOrNone(Finding.OtherRow))
        .Field("text", Text);
}

// A finding of the machine as an object of 'doctor --json'.
void WriteMachineFinding(TJsonWriter& Writer, const TMachineFinding& Finding) {
    Writer.BeginObject()
        .Key("row")
        .NumberOrNull(RowOrNone(Finding.Row))
        .Field("kind", MachineFindingKindName(Finding.Kind))
        .Key("otherRow")
        .Null()
        .Field("text", Finding.Text)
        .Key("other")
        .StringOrNull(Finding.Other.empty() ? std::nullopt : std::optional(Finding.Other))
        .EndObject();
}

// The findings as one JSON document: the file's, then the machine's (Machine, for the doctor,
// whose findings all have "other"), then who is connected to the mapped ports.
std::string CheckJson(const TPortCheckResult& Result, TQ7NPorts& Ports, const std::string& Path,
                      const TMachineReport* Machine) {
    const auto& Findings = Result.Findings();
    TJsonWriter Writer;
    Writer.Reserve(64 + Findings.size() * 128);
    Writer.BeginObject()
        .Field("file", Path)
        .Field("mappings", Ports.Count())
        .Key("findings")
        .BeginArray();
    for (const TPortFinding& Finding : Findings) {
        WriteFindingFields(Writer.BeginObject(), Finding, Ports);
        if (Machine)
            Writer.Key("other").Null();
        Writer.EndObject();
    }
    if (Machine)
        for (const TMachineFinding& Finding : Machine->Findings)
            WriteMachineFinding(Writer, Finding);
    Writer.EndArray();
    if (Machine) {
        Writer.Key("connections").BeginArray();
        for (const TPortConnections& Port : Machine->Connections) {
            Writer.BeginObject().Field("localPort", Port.LocalPort).Key("peers").BeginArray();
            for (const std::string& Peer : Port.Peers)
                Writer.String(Peer);
            Writer.EndArray().EndObject();
        }
        Writer.EndArray();
    }
    Writer.EndObject();
    return Writer.Text() + '\n';
}

// The same as lines: a finding each, then a line for each mapped port that has connections.
std::string CheckLines(const TPortCheckResult& Result, TQ7NPorts& Ports,
                       const TMachineReport* Machine) {
    std::string Text;
    Text.reserve(Result.Findings().size() * 48);
    for (const TPortFinding& Finding : Result.Findings())
        AppendFindingLine(Text, Finding, Ports);
    if (!Machine)
        return Text;
    for (const TMachineFinding& Finding : Machine->Findings) {
        Text += Finding.Row ? "row " + std::to_string(Finding.Row) + ": " : "service: ";
        Text += Printable(Finding.Text);
        Text += '\n';
    }
    for (const TPortConnections& Port : Machine->Connections) {
        Text += "local port " + std::to_string(Port.LocalPort) + ": " +
                std::to_string(Port.Peers.size()) +
                (Port.Peers.size() == 1 ? " connection, from " : " connections, from ");
        for (std::size_t P = 0; P < Port.Peers.size(); ++P)
            Text += (P ? ", " : "") + Printable(Port.Peers[P]);
        Text += '\n';
    }
    return Text;
}

// The file's findings and, for the doctor, the machine's (Machine), as lines or one JSON
// document. Exit 6 when anything was found, with how much on Err.
int Check(TQ7NPorts& Ports, const std::string& Path, bool Json, std::ostream& Out,
          std::ostream& Err, const TMachineReport* Machine = nullptr) {
    TPortCheckResult Result = CheckPorts(Ports);
    Out << (Json ? CheckJson(Result, Ports, Path, Machine) : CheckLines(Result, Ports, Machine));
    const std::size_t InFile = Result.Findings().size();
    const std::size_t OnMachine = Machine ? Machine->Findings.size() : 0;
    if (InFile + OnMachine == 0)
        return ecDone;
    const std::size_t Count = InFile + OnMachine;
    const char* Noun = Count == 1 ? " finding" : " findings";
    if (Machine)
        return SayOutcome(ecPortsFile,
                          std::to_string(Count) + Noun + " (" + std::to_string(InFile) +
                              " in the file, " + std::to_string(OnMachine) + " on the machine)",
                          Out, Err);
    return SayOutcome(ecPortsFile,
                      std::to_string(InFile) + Noun + " in " +
                          std::to_string(Result.RowsWithFindings()) + " of " +
                          std::to_string(Ports.Count()) +
                          " mappings; correct them with 'q7nctl ports set' or "
                          "'q7nctl ports remove'",
                      Out, Err);
}

// One ports command at work: its arguments and its file, loaded and found fit for it.
struct TPortsCall {
    const TArguments& Arguments;
    TPortsFile& File;
    const TCtlEnvironment& Environment;
    std::ostream& Out;
    std::ostream& Err;
};

int ListCommand(TPortsCall& Call) {
    List(Call.File.Ports(), Call.File.Path(), Call.Arguments.Has("--json"), Call.Out);
    return ecDone;
}

int CheckCommand(TPortsCall& Call) {
    return Check(Call.File.Ports(), Call.File.Path(), Call.Arguments.Has("--json"), Call.Out,
                 Call.Err);
}

int AddCommand(TPortsCall& Call) {
    TQ7NPorts& Ports = Call.File.Ports();
    auto Port = TXMLClass::Create<TQ7NPort>(nullptr);
    ApplyValues(Call.Arguments, *Port);
    Ports.Add()->CopyFrom(Port.get());
    Call.File.Save(Call.Out, Call.Err);
    Call.Out << "Added row " << Ports.Count() << "\n";
    WarnAbout(Ports, Ports.Count(), Call.Err);
    return ecDone;
}

int SetCommand(TPortsCall& Call) {
    TQ7NPorts& Ports = Call.File.Ports();
    const int Row = RowNumber(Call.Arguments.Positional().front(), Ports.Count());
    if (!ApplyValues(Call.Arguments, *Ports.Items(Row - 1)))
        throw ECommandError(ecBadArguments, "'ports set' needs at least one of --ip, "
                                            "--remote-port, --local-port, --com, --rate");
    Call.File.Save(Call.Out, Call.Err);
    Call.Out << "Changed row " << Row << "\n";
    WarnAbout(Ports, Row, Call.Err);
    return ecDone;
}

int RemoveCommand(TPortsCall& Call) {
    TQ7NPorts& Ports = Call.File.Ports();
    // A row named twice is a slip in the script that named it: nothing is removed.
    std::vector<int> Indices;
    std::vector<bool> Named(Ports.Count(), false);
    for (const std::string& Word : Call.Arguments.Positional()) {
        const int Row = RowNumber(Word, Ports.Count());
        if (Named[Row - 1])
            throw ECommandError(ecBadArguments, "row " + std::to_string(Row) +
                                                    " is named twice; nothing was removed");
        Named[Row - 1] = true;
        Indices.push_back(Row - 1);
    }
    Ports.Delete(Indices);
    Call.File.Save(Call.Out, Call.Err);
    Call.Out << "Removed " << Indices.size() << (Indices.size() == 1 ? " row" : " rows")
             << "; the list has " << Ports.Count() << "\n";
    return ecDone;
}

// How long 'ports apply --restart' waits for the service to take the new mappings, unless
// --verify says otherwise.
constexpr std::int32_t DefaultVerifySeconds = 30;

const char* ChangeKindName(TPortChangeKind Kind) {
    switch (Kind) {
    case pcAdded:
        return "added";
    case pcRemoved:
        return "removed";
    case pcChanged:
        return "changed";
    }
    return "";
}

// "ip=10.0.0.1 remotePort=8080 localPort=4001 comPort=2 rate=115200", safe for a terminal.
std::string ValuesText(const TPortValues& Values) {
    return "ip=" + Printable(Values.IP) + " remotePort=" + std::to_string(Values.RemotePort) +
           " localPort=" + std::to_string(Values.LocalPort) +
           " comPort=" + std::to_string(Values.COMPort) + " rate=" + std::to_string(Values.Rate);
}

void WriteValues(TJsonWriter& Writer, const TPortValues& Values) {
    Writer.BeginObject()
        .Field("ip", Values.IP)
        .Field("remotePort", Values.RemotePort)
        .Field("localPort", Values.LocalPort)
        .Field("comPort", Values.COMPort)
        .Field("rate", Values.Rate)
        .EndObject();
}

// "1 added, 0 removed, 2 changed"
std::string ChangeCounts(const std::vector<TPortChange>& Changes) {
    std::string Text;
    for (TPortChangeKind Kind : {pcAdded, pcRemoved, pcChanged})
        Text +=
            (Text.empty() ? "" : ", ") +
            std::to_string(std::count_if(Changes.begin(), Changes.end(),
                                         [&](const TPortChange& C) { return C.Kind == Kind; })) +
            " " + ChangeKindName(Kind);
    return Text;
}

// The rows an apply changed as they were (Side '-') or are now ('+'), a line each.
std::string DiffSide(const std::vector<TPortChange>& Changes, char Side) {
    std::string Text;
    for (const TPortChange& Change : Changes)
        if (const auto& Values = Side == '-' ? Change.Before : Change.After)
            Text += Side + std::to_string(Change.Row) + " " + ValuesText(*Values) + "\n";
    return Text;
}

// What 'ports apply' did, for its output.
struct TApplyOutcome {
    std::vector<TPortChange> Changes;
    bool Restarted = false;
    bool RolledBack = false;
    std::optional<TVerification> Verification;
    std::string Message;
};

std::string ApplyJson(const TApplyOutcome& Outcome, bool Diff, const TPortCheckResult& Check,
                      TQ7NPorts& Ports, const std::string& Path) {
    TJsonWriter Writer;
    Writer.BeginObject()
        .Field("file", Path)
        .Field("changed", !Outcome.Changes.empty())
        .Key("actions")
        .BeginArray();
    for (const TPortChange& Change : Outcome.Changes) {
        Writer.BeginObject().Field("action", ChangeKindName(Change.Kind)).Field("row", Change.Row);
        if (Change.Before)
            WriteValues(Writer.Key("before"), *Change.Before);
        if (Change.After)
            WriteValues(Writer.Key("after"), *Change.After);
        Writer.EndObject();
    }
    Writer.EndArray();
    if (Diff)
        Writer.Key("diff")
            .BeginObject()
            .Field("before", DiffSide(Outcome.Changes, '-'))
            .Field("after", DiffSide(Outcome.Changes, '+'))
            .EndObject();
    Writer.Key("warnings").BeginArray();
    for (const TPortFinding& Finding : Check.Findings())
        WriteFindingFields(Writer.BeginObject(), Finding, Ports).EndObject();
    Writer.EndArray().Field("restarted", Outcome.Restarted).Field("rolledBack", Outcome.RolledBack);
    Writer.Key("verification");
    if (Outcome.Verification) {
        Writer.BeginArray();
        for (const TMachineFinding& Finding : Outcome.Verification->Findings)
            WriteMachineFinding(Writer, Finding);
        Writer.EndArray().Field("verifyMilliseconds", Outcome.Verification->Milliseconds);
    } else {
        Writer.Null();
    }
    Writer.Field("msg", Outcome.Message).EndObject();
    return Writer.Text() + '\n';
}

std::int32_t VerifySeconds(const TArguments& Arguments) {
    std::optional<std::string> Text = Arguments.Value("--verify");
    if (!Text)
        return DefaultVerifySeconds;
    if (!Arguments.Has("--restart"))
        throw ECommandError(ecBadArguments, "--verify goes with --restart");
    std::optional<std::int32_t> Seconds = TryStrToInt(*Text);
    if (!Seconds || *Seconds < 1 || *Seconds > 24 * 60 * 60)
        throw ECommandError(ecBadArguments,
                            "--verify takes a number of seconds from 1 to 86400, not '" + *Text +
                                "'");
    return *Seconds;
}

// The file as it was before the apply, to put back byte for byte; none when there was none.
std::optional<std::string> PreviousBytes(const std::string& Path) {
    std::error_code Error;
    if (!std::filesystem::exists(platform::Utf8Path(Path), Error))
        return std::nullopt;
    return platform::ReadWholeFile(Path);
}

void PutBack(const std::string& Path, const std::optional<std::string>& Previous) {
    try {
        if (Previous)
            platform::ReplaceFileDurably(Path, *Previous, TXMLOptionsSerializer::BackupPath(Path));
        else
            platform::RemoveFileOrRaise(Path);
    } catch (const std::exception& Error) {
        throw ECommandError(ecFailed, "the service did not take the new mappings, and the "
                                      "previous " +
                                          Path + " could not be put back (" + Error.what() +
                                          "); restore it from a copy");
    }
}

// Restarts the service on the new file and, when the doctor finds that it did not take the
// mappings the apply added or changed, puts the previous file back and restarts it on that.
void RestartVerified(TPortsCall& Call, TApplyOutcome& Outcome,
                     const std::optional<std::string>& Previous, std::int32_t Seconds) {
    std::set<int> Touched;
    for (const TPortChange& Change : Outcome.Changes)
        if (Change.After)
            Touched.insert(Change.Row);
    Outcome.Restarted = true;
    Outcome.Verification = RestartAndVerify(Call.Environment, Call.File.Ports(), Touched, Seconds);
    const TVerification& Verification = *Outcome.Verification;
    if (Verification.Passed) {
        Outcome.Message += "; " + std::string(ServiceName) + " restarted and listens on them";
        return;
    }
    std::string Why = Verification.Failure;
    for (const TMachineFinding& Finding : Verification.Failing)
        Why += (Why.empty() ? "" : "; ") +
               (Finding.Row ? "row " + std::to_string(Finding.Row) + ": " : "") + Finding.Text;
    PutBack(Call.File.Path(), Previous);
    Outcome.RolledBack = true;
    std::string Again = RestartService(Call.Environment, Seconds);
    Outcome.Message = std::string(ServiceName) + " did not take the new mappings within " +
                      std::to_string(Seconds) + " s (" + Why + "); the previous " +
                      Call.File.Path() + " was put back and " + ServiceName +
                      (Again.empty() ? " restarted on it" : " could not be restarted: " + Again);
}

int ApplyCommand(TPortsCall& Call) {
    const TArguments& Arguments = Call.Arguments;
    const bool CheckOnly = Arguments.Has("--check"), Json = Arguments.Has("--json");
    const bool Restart = Arguments.Has("--restart") && !CheckOnly;
    const std::int32_t Seconds = VerifySeconds(Arguments);
    const std::vector<TPortValues> Desired =
        ReadDesiredPorts(Arguments.Positional().front(), std::cin);
    TQ7NPorts& Ports = Call.File.Ports();
    const std::string& Path = Call.File.Path();
    TApplyOutcome Outcome;
    Outcome.Changes = PortListChanges(PortValuesOf(Ports), Desired);
    const bool Changed = !Outcome.Changes.empty();
    if (Changed)
        AssignPortValues(Ports, Desired);
    const std::string Counts = ChangeCounts(Outcome.Changes);
    if (!Changed)
        Outcome.Message = Path + " holds the " + std::to_string(Desired.size()) +
                          (Desired.size() == 1 ? " mapping" : " mappings") + " already";
    else if (CheckOnly)
        Outcome.Message = Path + " would change: " + Counts;
    else
        Outcome.Message = Path + " changed: " + Counts;

    if (Changed && !CheckOnly) {
        const bool WasRunning = Restart && ServiceIsRunning(Call.Environment);
        const std::optional<std::string> Previous = WasRunning ? PreviousBytes(Path) : std::nullopt;
        Call.File.Save(Json ? Call.Err : Call.Out, Call.Err);
        if (WasRunning)
            RestartVerified(Call, Outcome, Previous, Seconds);
        else if (Restart)
            Outcome.Message += "; " + std::string(ServiceName) +
                               " is not running, so it was "
                               "not restarted";
    }

    const TPortCheckResult Check = CheckPorts(Ports);
    if (Json) {
        Call.Out << ApplyJson(Outcome, Arguments.Has("--diff"), Check, Ports, Path);
    } else {
        if (Arguments.Has("--diff"))
            Call.Out << DiffSide(Outcome.Changes, '-') << DiffSide(Outcome.Changes, '+');
        if (!Outcome.RolledBack && !(CheckOnly && Changed))
            Call.Out << Printable(Outcome.Message) << "\n";
        for (const TPortFinding& Finding : Check.Findings()) {
            std::string Line = "q7nctl: warning: ";
            AppendFindingLine(Line, Finding, Ports);
            Call.Err << Line;
        }
    }
    if (Outcome.RolledBack)
        return SayOutcome(ecRolledBack, Outcome.Message, Call.Out, Call.Err);
    if (CheckOnly && Changed)
        return SayOutcome(ecWouldChange, Outcome.Message + "; run it without --check to apply it",
                          Call.Out, Call.Err);
    return ecDone;
}

struct TPortsCommand {
    const char* Name;
    bool Changing; // takes the file's lock for itself and saves it
    std::vector<TOptionRule> Options;
    std::size_t LeastWords, MostWords; // positional words after the name
    int (*Run)(TPortsCall&);
    THelpLine Help;
};

const std::vector<TOptionRule> ReadingOptions = {
    {"--file", true}, {"--wait", true}, {"--json", false}};
constexpr std::size_t AnyNumber = SIZE_MAX;

// In the order of the help.
// clang-format off
const std::vector<TPortsCommand> PortsCommands = {
    {"list", false, ReadingOptions, 0, 0, ListCommand,
     {"ports list [--json]", ""}},
    {"add", true, ValueOptions, 0, 0, AddCommand,
     {"ports add [--ip IP] [--remote-port N] [--local-port N] [--com N] [--rate N]",
      "a new mapping; what is not given takes the default\n"
      "(192.168.1.6, 8080, 8080, COM1, 9600)"}},
    {"set", true, ValueOptions, 1, 1, SetCommand,
     {"ports set ROW [--ip IP] [--remote-port N] [--local-port N] [--com N] [--rate N]",
      "change only the given values of row ROW (counted from 1)"}},
    {"remove", true, {{"--file", true}, {"--wait", true}, {"--force", false}}, 1, AnyNumber,
     RemoveCommand,
     {"ports remove ROW...", "remove the rows"}},
    {"check", false, ReadingOptions, 0, 0, CheckCommand,
     {"ports check [--json]", "list mappings that conflict or hold values the service cannot use"}},
    {"apply", true, {{"--file", true}, {"--wait", true}, {"--force", false}, {"--json", false},
                     {"--check", false}, {"--diff", false}, {"--restart", false},
                     {"--verify", true}}, 1, 1, ApplyCommand,
     {"ports apply FILE|- [--check] [--diff] [--json] [--restart [--verify SECONDS]]",
      "make the file hold exactly FILE's mappings, in its order: a ports file\n"
      "or the JSON of 'ports list --json' ('-': standard input); writes\n"
      "nothing when they are there already. --check: only tell (exit 7 when\n"
      "it would change); --diff: the rows before (-) and after (+);\n"
      "--restart: restart a running service on it and check, at most 30 s\n"
      "or SECONDS, that it listens on the new rows; when it does not, put\n"
      "the previous file back and restart again (exit 8)"}},
};
// clang-format on

// "list, add, set, remove or check"
std::string PortsCommandNames() {
    std::string Names;
    for (std::size_t I = 0; I < PortsCommands.size(); ++I)
        Names += (I == 0                          ? ""
                  : I + 1 == PortsCommands.size() ? " or "
                                                  : ", ") +
                 std::string(PortsCommands[I].Name);
    return Names;
}

} // namespace

const char* const PortsHelpNotes =
    R"(  Numbers are decimal or hexadecimal ($1F90, 0x1F90). A file that cannot be read is never
  changed unless --force is given; it is then kept as Q7NPorts.rejected.xml.
  While another q7nctl or a configurator window saves the file, a command waits for it, at most
  10 seconds or --wait SECONDS (exit 5 when it runs out). A file that another program changed
  while a command was changing it is not overwritten (exit 1).
)";

std::vector<THelpLine> PortsHelpLines() {
    std::vector<THelpLine> Lines;
    for (const TPortsCommand& Command : PortsCommands)
        Lines.push_back(Command.Help);
    return Lines;
}

int RunPortsCommand(const std::vector<std::string>& Words, const TCtlEnvironment& Environment,
                    std::ostream& Out, std::ostream& Err) {
    if (Words.empty())
        throw ECommandError(ecBadArguments,
                            "'ports' needs " + PortsCommandNames() + "; see q7nctl --help");
    const std::string& Name = Words.front();
    auto Command = std::find_if(PortsCommands.begin(), PortsCommands.end(),
                                [&](const TPortsCommand& Each) { return Name == Each.Name; });
    if (Command == PortsCommands.end())
        throw ECommandError(ecBadArguments,
                            "unknown command 'ports " + Name + "'; see q7nctl --help");
    TArguments Arguments(std::vector<std::string>(Words.begin() + 1, Words.end()),
                         Command->Options);
    const std::size_t Count = Arguments.Positional().size();
    if (Count < Command->LeastWords || Count > Command->MostWords)
        throw ECommandError(ecBadArguments,
                            "wrong number of words for 'ports " + Name + "'; see q7nctl --help");

    TPortsFile File(Arguments, Environment, Command->Changing);
    File.RequireReadable(Command->Changing, Arguments.Has("--force"));
    TPortsCall Call{Arguments, File, Environment, Out, Err};
    return Command->Run(Call);
}

int RunDoctorCommand(const std::vector<std::string>& Words, const TCtlEnvironment& Environment,
                     std::ostream& Out, std::ostream& Err) {
    TArguments Arguments(Words, ReadingOptions);
    if (!Arguments.Positional().empty())
        throw ECommandError(ecBadArguments, "'doctor' takes no words; see q7nctl --help");
    if (!Environment.ServiceManager || !Environment.Registry || !Environment.Network)
        throw ECommandError(ecFailed, "the doctor cannot look at this machine");
    TPortsFile File(Arguments, Environment, false);
    File.RequireReadable(false, false);
    TMachineDoctor Doctor(ServiceName, ServiceExecutablePath(Environment.RequireFolder()),
                          *Environment.ServiceManager, *Environment.Registry, *Environment.Network);
    const TMachineReport Report = Doctor.Examine(File.Ports());
    for (const std::string& Unseen : Report.Unseen)
        Err << "q7nctl: warning: cannot look at " << Printable(Unseen) << "\n";
    return Check(File.Ports(), File.Path(), Arguments.Has("--json"), Out, Err, &Report);
}

} // namespace q7n::cli
