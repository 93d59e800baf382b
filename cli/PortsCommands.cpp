#include "cli/PortsCommands.h"

#include "base/Exceptions.h"
#include "base/IntegerConversion.h"
#include "cli/Arguments.h"
#include "cli/CommandError.h"
#include "cli/JsonText.h"
#include "cli/PrintableText.h"
#include "ports/PortConflicts.h"
#include "ports/Q7NDocument.h"
#include "service/MachineDoctor.h"
#include "service/PortsFileMessages.h"
#include "service/ServicePaths.h"

#include <algorithm>
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
    Out += "row ";
    AppendJsonNumber(Out, Finding.Row);
    Out += ": ";
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
    std::string Text;
    if (Json) {
        Text.reserve(64 + std::size_t(Count) * 96);
        Text += "{\"file\":";
        AppendJsonString(Text, Path);
        Text += ",\"mappings\":[";
        for (int I = 0; I < Count; ++I) {
            const TQ7NPort& Port = *Ports.Items(I);
            Text += I ? ",{\"row\":" : "{\"row\":";
            AppendJsonNumber(Text, I + 1);
            Text += ",\"ip\":";
            AppendJsonString(Text, Port.IP());
            Text += ",\"remotePort\":";
            AppendJsonNumber(Text, Port.RemoutePort());
            Text += ",\"localPort\":";
            AppendJsonNumber(Text, Port.LocalPort());
            Text += ",\"comPort\":";
            AppendJsonNumber(Text, Port.COMPort());
            Text += ",\"rate\":";
            AppendJsonNumber(Text, Port.CpRate());
            Text += '}';
        }
        Text += "]}\n";
        Out << Text;
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

// The machine's findings after the file's: one line each, or their fields in the JSON array.
void AppendMachineFindings(std::string& Text, const TMachineReport& Report, bool Json, bool First) {
    for (const TMachineFinding& Finding : Report.Findings) {
        if (!Json) {
            Text += Finding.Row ? "row " + std::to_string(Finding.Row) + ": " : "service: ";
            Text += Printable(Finding.Text);
            Text += '\n';
            continue;
        }
        Text += First ? "{\"row\":" : ",{\"row\":";
        First = false;
        if (Finding.Row)
            AppendJsonNumber(Text, Finding.Row);
        else
            Text += "null";
        Text += ",\"kind\":\"";
        Text += MachineFindingKindName(Finding.Kind);
        Text += "\",\"otherRow\":null,\"text\":";
        AppendJsonString(Text, Finding.Text);
        Text += ",\"other\":";
        if (Finding.Other.empty())
            Text += "null";
        else
            AppendJsonString(Text, Finding.Other);
        Text += '}';
    }
}

// Who is connected to the mapped ports, after the findings.
void AppendConnections(std::string& Text, const TMachineReport& Report, bool Json) {
    if (Json)
        Text += ",\"connections\":[";
    for (std::size_t I = 0; I < Report.Connections.size(); ++I) {
        const TPortConnections& Port = Report.Connections[I];
        if (Json) {
            Text += I ? ",{\"localPort\":" : "{\"localPort\":";
            AppendJsonNumber(Text, Port.LocalPort);
            Text += ",\"peers\":[";
        } else {
            Text += "local port " + std::to_string(Port.LocalPort) + ": " +
                    std::to_string(Port.Peers.size()) +
                    (Port.Peers.size() == 1 ? " connection, from " : " connections, from ");
        }
        for (std::size_t P = 0; P < Port.Peers.size(); ++P) {
            if (P)
                Text += Json ? "," : ", ";
            if (Json)
                AppendJsonString(Text, Port.Peers[P]);
            else
                Text += Printable(Port.Peers[P]);
        }
        Text += Json ? "]}" : "\n";
    }
    if (Json)
        Text += "]";
}

// The file's findings and, for the doctor, the machine's (Machine), as lines or one JSON
// document. Exit 6 when anything was found.
int Check(TQ7NPorts& Ports, const std::string& Path, bool Json, std::ostream& Out,
          const TMachineReport* Machine = nullptr) {
    TPortCheckResult Result = CheckPorts(Ports);
    const auto& Findings = Result.Findings();
    std::string Text;
    if (Json) {
        Text.reserve(64 + Findings.size() * 128);
        Text += "{\"file\":";
        AppendJsonString(Text, Path);
        Text += ",\"mappings\":" + std::to_string(Ports.Count()) + ",\"findings\":[";
        std::string Scratch;
        for (std::size_t I = 0; I < Findings.size(); ++I) {
            const TPortFinding& Finding = Findings[I];
            Text += I ? ",{\"row\":" : "{\"row\":";
            AppendJsonNumber(Text, Finding.Row);
            Text += ",\"kind\":\"";
            Text += KindName(Finding.Kind);
            Text += "\",\"otherRow\":";
            if (Finding.OtherRow)
                AppendJsonNumber(Text, Finding.OtherRow);
            else
                Text += "null";
            Text += ",\"text\":";
            Scratch.clear();
            AppendPortFindingText(Scratch, Finding, Ports);
            AppendJsonString(Text, Scratch);
            Text += Machine ? ",\"other\":null}" : "}";
        }
        if (Machine)
            AppendMachineFindings(Text, *Machine, true, Findings.empty());
        Text += "]";
        if (Machine)
            AppendConnections(Text, *Machine, true);
        Text += "}\n";
    } else {
        Text.reserve(Findings.size() * 48);
        for (const TPortFinding& Finding : Findings)
            AppendFindingLine(Text, Finding, Ports);
        if (Machine) {
            AppendMachineFindings(Text, *Machine, false, true);
            AppendConnections(Text, *Machine, false);
        }
    }
    Out << Text;
    const std::size_t MachineCount = Machine ? Machine->Findings.size() : 0;
    if (Result.Empty() && MachineCount == 0)
        return ecDone;
    const std::size_t Count = Findings.size() + MachineCount;
    const char* Noun = Count == 1 ? " finding" : " findings";
    if (Machine)
        throw ECommandError(ecPortsFile, std::to_string(Count) + Noun + " (" +
                                             std::to_string(Findings.size()) + " in the file, " +
                                             std::to_string(MachineCount) + " on the machine)");
    throw ECommandError(ecPortsFile, std::to_string(Findings.size()) + Noun + " in " +
                                         std::to_string(Result.RowsWithFindings()) + " of " +
                                         std::to_string(Ports.Count()) +
                                         " mappings; correct them with 'q7nctl ports set' or "
                                         "'q7nctl ports remove'");
}

} // namespace

int RunPortsCommand(const std::vector<std::string>& Words, const TCtlEnvironment& Environment,
                    std::ostream& Out, std::ostream& Err) {
    if (Words.empty())
        throw ECommandError(ecBadArguments,
                            "'ports' needs list, add, set, remove or check; see q7nctl --help");
    const std::string& Command = Words.front();
    const std::vector<std::string> Rest(Words.begin() + 1, Words.end());
    const bool Reading = Command == "list" || Command == "check";
    if (!Reading && Command != "add" && Command != "set" && Command != "remove")
        throw ECommandError(ecBadArguments,
                            "unknown command 'ports " + Command + "'; see q7nctl --help");
    std::vector<TOptionRule> Options = {{"--file", true}, {"--wait", true}};
    if (Reading)
        Options.push_back({"--json", false});
    else if (Command == "remove")
        Options.push_back({"--force", false});
    else
        Options = ValueOptions;
    TArguments Arguments(Rest, Options);
    const auto& Positional = Arguments.Positional();
    const std::size_t WordsWanted = Command == "set" ? 1 : 0;
    if (Command == "remove" ? Positional.empty() : Positional.size() != WordsWanted)
        throw ECommandError(ecBadArguments,
                            "wrong number of words for 'ports " + Command + "'; see q7nctl --help");

    TPortsFile File(Arguments, Environment, !Reading);
    File.RequireReadable(!Reading, Arguments.Has("--force"));
    TQ7NPorts& Ports = File.Ports();
    if (Command == "list") {
        List(Ports, File.Path(), Arguments.Has("--json"), Out);
        return ecDone;
    }
    if (Command == "check")
        return Check(Ports, File.Path(), Arguments.Has("--json"), Out);

    if (Command == "add") {
        auto Port = TXMLClass::Create<TQ7NPort>(nullptr);
        ApplyValues(Arguments, *Port);
        Ports.Add()->CopyFrom(Port.get());
        File.Save(Out, Err);
        Out << "Added row " << Ports.Count() << "\n";
        WarnAbout(Ports, Ports.Count(), Err);
    } else if (Command == "set") {
        const int Row = RowNumber(Positional.front(), Ports.Count());
        if (!ApplyValues(Arguments, *Ports.Items(Row - 1)))
            throw ECommandError(ecBadArguments, "'ports set' needs at least one of --ip, "
                                                "--remote-port, --local-port, --com, --rate");
        File.Save(Out, Err);
        Out << "Changed row " << Row << "\n";
        WarnAbout(Ports, Row, Err);
    } else {
        // A row named twice is a slip in the script that named it: nothing is removed.
        std::vector<int> Indices;
        std::vector<bool> Named(Ports.Count(), false);
        for (const std::string& Word : Positional) {
            const int Row = RowNumber(Word, Ports.Count());
            if (Named[Row - 1])
                throw ECommandError(ecBadArguments, "row " + std::to_string(Row) +
                                                        " is named twice; nothing was removed");
            Named[Row - 1] = true;
            Indices.push_back(Row - 1);
        }
        Ports.Delete(Indices);
        File.Save(Out, Err);
        Out << "Removed " << Indices.size() << (Indices.size() == 1 ? " row" : " rows")
            << "; the list has " << Ports.Count() << "\n";
    }
    return ecDone;
}

int RunDoctorCommand(const std::vector<std::string>& Words, const TCtlEnvironment& Environment,
                     std::ostream& Out, std::ostream& Err) {
    TArguments Arguments(Words, {{"--file", true}, {"--wait", true}, {"--json", false}});
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
    return Check(File.Ports(), File.Path(), Arguments.Has("--json"), Out, &Report);
}

} // namespace q7n::cli
