// Replays the file calls of a save and checks every state a crash may leave on a POSIX file
// system: the next load finds the previous mappings or the new ones, and the next save cleans up.
#include "base/testsupport/TemporaryFolder.h"
#include "platform/FileSystem.h"
#include "platform/testsupport/CrashStates.h"
#include "ports/Q7NDocument.h"
#include "ports/testsupport/PortsFileByHand.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace q7n;
using namespace q7n::testing;
namespace fs = std::filesystem;

namespace {

using TMappings = std::vector<std::string>; // PortText of each mapping

const std::string File = "Q7NPorts.xml";
const std::string Backup = "Q7NPorts.bak";

void Fill(TQ7NDocument& Document, const TMappings& IPs) {
    Document.Options()->Q7NPorts()->Clear();
    for (const std::string& IP : IPs)
        Document.Options()->Q7NPorts()->Add()->SetIP(IP);
}

TMappings Mappings(const TQ7NDocument& Document) {
    TMappings Texts;
    for (int I = 0; I < Document.Options()->Q7NPorts()->Count(); ++I)
        Texts.push_back(PortText(*Document.Options()->Q7NPorts()->Items(I)));
    return Texts;
}

TFolderFiles Read(const TTemporaryFolder& Folder) {
    TFolderFiles Files;
    for (const std::string& Name : Folder.Names())
        Files[Name] = platform::ReadWholeFile(Folder.File(Name));
    return Files;
}

void Write(const TTemporaryFolder& Folder, const TFolderFiles& Files) {
    for (const fs::directory_entry& Entry : fs::directory_iterator(Folder.Path()))
        fs::remove(Entry.path());
    for (const auto& [Name, Content] : Files)
        std::ofstream(Folder.File(Name), std::ios::binary) << Content;
}

// The content of a ports file with a mapping for each of IPs.
std::string PortsFile(const TMappings& IPs) {
    TTemporaryFolder Folder;
    TQ7NDocument Document;
    Fill(Document, IPs);
    if (!Document.Save(Folder.File(File)))
        throw std::runtime_error("cannot save the ports file");
    return platform::ReadWholeFile(Folder.File(File));
}

struct TFindings {
    int Explored = 0;
    int Checked = 0;
    int BackupsKept = 0; // states whose backup the next save keeps, as it keeps every foreign one
    std::vector<std::string> Lost;
};

// Saves the mappings New over a folder that holds Before, records the save's file calls, and
// checks each state a crash during it may leave.
TFindings Explore(const TFolderFiles& Before, const TMappings& New,
                  const platform::TReplaceFlushes& Flushes = {}) {
    TTemporaryFolder Folder;
    Write(Folder, Before);
    TMappings Previous;
    {
        TQ7NDocument Loaded;
        Loaded.Load(Folder.File(File));
        Previous = Mappings(Loaded);
    }
    TQ7NDocument Saved;
    Fill(Saved, New);
    TXMLOptionsSerializer Serializer(nullptr);
    Serializer.RootObject = Saved.Options();
    Serializer.XMLFilePath = Folder.File(File);
    Serializer.ReplaceFlushes = Flushes;
    std::vector<TRecordedCall> Calls;
    {
        TFileCallRecorder Recorder;
        if (!Serializer.SaveToFile())
            throw std::runtime_error("the recorded save failed");
        Calls = Recorder.Calls();
    }
    const TMappings NewTexts = Mappings(Saved);
    const TMappings Next = {"10.9.9.9"};

    TFindings Findings;
    TCrashStates States(Before, Calls);
    Findings.Explored = States.Explored();
    for (const TCrashStates::TState& State : States.States()) {
        ++Findings.Checked;
        Write(Folder, State.Files);
        TQ7NDocument Document;
        TXMLLoadResult Load = Document.Load(Folder.File(File));
        TMappings Found = Mappings(Document);
        bool NoFileBefore = Before.count(File) == 0 && Before.count(Backup) == 0;
        bool Good = Load.Status == lsRead ? Found == Previous || Found == NewTexts
                                          : Load.Status == lsNoFile && NoFileBefore;
        if (!Good) {
            Findings.Lost.push_back(State.How + ": loads " +
                                    (Load.Status == lsRead
                                         ? std::to_string(Found.size()) + " mappings, neither list"
                                     : Load.Status == lsNoFile ? "no file"
                                                               : "rejected: " + Load.Reason));
            continue;
        }
        // The next save leaves the file and, when the state had one, the backup as it was.
        std::string BackupBefore = fs::exists(Folder.File(Backup))
                                       ? platform::ReadWholeFile(Folder.File(Backup))
                                       : std::string();
        Fill(Document, Next);
        TFolderFiles Expected = {{File, PortsFile(Next)}};
        if (!Document.Save(Folder.File(File))) {
            Findings.Lost.push_back(State.How + ": the next save fails");
            continue;
        }
        if (!BackupBefore.empty()) {
            Expected[Backup] = BackupBefore;
            ++Findings.BackupsKept;
        }
        if (Read(Folder) != Expected)
            Findings.Lost.push_back(State.How + ": the next save leaves more than the new file");
    }
    return Findings;
}

void Print(const char* Case, const TFindings& Findings) {
    std::printf("[ crashes  ] %s: %d states explored, %d distinct checked, %zu lose data, "
                "%d keep a backup\n",
                Case, Findings.Explored, Findings.Checked, Findings.Lost.size(),
                Findings.BackupsKept);
}

const TMappings PreviousList = {"192.168.1.6", "192.168.1.7"};
const TMappings NewList = {"10.0.0.1", "10.0.0.2", "10.0.0.3"};

} // namespace

TEST(SaveCrashStates, EveryCrashLeavesThePreviousOrTheNewMappings) {
    struct TCase {
        const char* Name;
        TFolderFiles Before;
    } Cases[] = {
        {"new file", {}},
        {"stale backup", {{File, PortsFile(PreviousList)}, {Backup, PortsFile({"172.16.0.1"})}}},
        {"replace", {{File, PortsFile(PreviousList)}}},
        {"replace, a killed save's temporary beside",
         {{File, PortsFile(PreviousList)}, {File + ".tmp-Killed", "<?xml version"}}},
    };
    for (const TCase& Case : Cases) {
        TFindings Findings = Explore(Case.Before, NewList);
        Print(Case.Name, Findings);
        for (const std::string& Lost : Findings.Lost)
            ADD_FAILURE() << Case.Name << ": " << Lost;
    }
}

// The explorer can fail: a save without one of its flushes loses data in some crash.
TEST(SaveCrashStates, ASaveWithoutItsFlushesLosesData) {
    const TFolderFiles Replacing = {{File, PortsFile(PreviousList)}};
    TFindings NoDataFlush = Explore(Replacing, NewList, {.Temporary = false});
    Print("replace, temporary not flushed", NoDataFlush);
    EXPECT_FALSE(NoDataFlush.Lost.empty());
    TFindings NoFolderFlush = Explore(Replacing, NewList, {.Folder = false});
    Print("replace, folder not flushed", NoFolderFlush);
    EXPECT_FALSE(NoFolderFlush.Lost.empty());
}
