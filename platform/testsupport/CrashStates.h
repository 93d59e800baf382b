#pragma once

#include "platform/FileCallTrace.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace q7n::testing {

// A file call as recorded, with copies of its texts; names are the last part of their paths.
struct TRecordedCall {
    platform::TFileCallKind Kind;
    int File = -1;
    std::string Name;
    std::string To;
    std::uint64_t Offset = 0;
    std::string Data;
};

inline std::string LastPart(std::string_view Path) {
    std::size_t Slash = Path.find_last_of('/');
    return std::string(Slash == std::string_view::npos ? Path : Path.substr(Slash + 1));
}

// Records the file calls of this process while it lives.
class TFileCallRecorder : public platform::IFileCallObserver {
public:
    TFileCallRecorder() { platform::ObserveFileCalls(this); }
    TFileCallRecorder(const TFileCallRecorder&) = delete;
    TFileCallRecorder& operator=(const TFileCallRecorder&) = delete;
    ~TFileCallRecorder() { platform::ObserveFileCalls(nullptr); }

    void Called(const platform::TFileCall& Call) override {
        FCalls.push_back({Call.Kind, Call.File, LastPart(Call.Path), LastPart(Call.To), Call.Offset,
                          std::string(Call.Data)});
    }
    const std::vector<TRecordedCall>& Calls() const { return FCalls; }

private:
    std::vector<TRecordedCall> FCalls;
};

// What one folder holds: file name -> content.
using TFolderFiles = std::map<std::string, std::string>;

// What unflushed data of a file a crash keeps.
enum TDataFate { dfAll, dfHalf, dfNone, dfZeros };

// The states a POSIX file system may leave in one folder after a crash during the calls Calls,
// made on a folder that held Before, all of it on disk. For each prefix of the calls: each subset
// of the name changes made since the folder's last flush applied (in their order) or not, and,
// for each file that bears a name then, its data written since its last flush kept whole, kept
// up to half, lost, or kept as zeros of its length.
class TCrashStates {
public:
    struct TState {
        TFolderFiles Files;
        std::string How; // the first way to it: the calls it follows, what reached the disk
    };

    TCrashStates(const TFolderFiles& Before, const std::vector<TRecordedCall>& Calls) {
        for (std::size_t Made = 0; Made <= Calls.size(); ++Made)
            AddStatesAfter(Before, Calls, Made);
    }

    int Explored() const { return FExplored; }
    // The distinct states, each with the first way that reached it.
    const std::vector<TState>& States() const { return FStates; }

private:
    struct TFile {
        std::string OnDisk;
        std::vector<std::pair<std::uint64_t, std::string>> Unflushed;
    };
    struct TNameChange {
        platform::TFileCallKind Kind;
        std::string Name, To;
        int File;
    };

    void AddStatesAfter(const TFolderFiles& Before, const std::vector<TRecordedCall>& Calls,
                        std::size_t Made) {
        std::vector<TFile> Files;
        std::map<std::string, int> OnDisk, Live; // name -> index in Files
        std::map<int, int> Open;                 // descriptor -> index in Files
        std::vector<TNameChange> Changes;
        for (const auto& [Name, Content] : Before) {
            OnDisk[Name] = Live[Name] = static_cast<int>(Files.size());
            Files.push_back({Content, {}});
        }
        std::string Last = "before the save";
        for (std::size_t I = 0; I < Made; ++I) {
            const TRecordedCall& Call = Calls[I];
            Last = "after call " + std::to_string(I + 1) + " (" + Describe(Call) + ")";
            switch (Call.Kind) {
            case platform::fcCreate:
                Open[Call.File] = Live[Call.Name] = static_cast<int>(Files.size());
                Files.push_back({});
                Changes.push_back({Call.Kind, Call.Name, {}, Live[Call.Name]});
                break;
            case platform::fcWrite:
                Files[Open.at(Call.File)].Unflushed.emplace_back(Call.Offset, Call.Data);
                break;
            case platform::fcFlushFile: {
                TFile& File = Files[Open.at(Call.File)];
                File.OnDisk = WithWrites(File, dfAll);
                File.Unflushed.clear();
                break;
            }
            case platform::fcFlushFolder:
                OnDisk = Live;
                Changes.clear();
                break;
            case platform::fcRename:
            case platform::fcLink:
                Changes.push_back({Call.Kind, Call.Name, Call.To, Live.at(Call.Name)});
                Live[Call.To] = Live.at(Call.Name);
                if (Call.Kind == platform::fcRename)
                    Live.erase(Call.Name);
                break;
            case platform::fcUnlink:
                Changes.push_back({Call.Kind, Call.Name, {}, -1});
                Live.erase(Call.Name);
                break;
            case platform::fcClose:
                Open.erase(Call.File);
                break;
            }
        }
        for (std::uint32_t Applied = 0; Applied < (1u << Changes.size()); ++Applied) {
            std::map<std::string, int> Names = OnDisk;
            std::string How = Last + "; on disk:";
            for (std::size_t I = 0; I < Changes.size(); ++I) {
                if (!(Applied & (1u << I)))
                    continue;
                const TNameChange& Change = Changes[I];
                How += " " + Describe(Change);
                if (Change.Kind == platform::fcRename && Names.count(Change.Name) &&
                    Names[Change.Name] == Change.File)
                    Names.erase(Change.Name);
                if (Change.Kind == platform::fcUnlink)
                    Names.erase(Change.Name);
                else
                    Names[Change.Kind == platform::fcCreate ? Change.Name : Change.To] =
                        Change.File;
            }
            AddWithFates(Files, Names, How);
        }
    }

    // Each fate of the unflushed data of each named file.
    void AddWithFates(const std::vector<TFile>& Files, const std::map<std::string, int>& Names,
                      const std::string& How) {
        std::vector<int> Unflushed;
        for (const auto& Named : Names)
            if (!Files[Named.second].Unflushed.empty())
                Unflushed.push_back(Named.second);
        std::vector<int> Fates(Unflushed.size(), dfAll);
        for (;;) {
            TState State{{}, How};
            for (const auto& [Name, File] : Names) {
                auto Found = std::find(Unflushed.begin(), Unflushed.end(), File);
                TDataFate Fate =
                    Found == Unflushed.end() ? dfAll : TDataFate(Fates[Found - Unflushed.begin()]);
                State.Files[Name] = WithWrites(Files[File], Fate);
                if (Fate != dfAll)
                    State.How += std::string("; data of ") + Name +
                                 (Fate == dfHalf   ? ": half"
                                  : Fate == dfNone ? ": none"
                                                   : ": zeros");
            }
            ++FExplored;
            if (FSeen.insert(State.Files).second)
                FStates.push_back(std::move(State));
            std::size_t Next = 0;
            while (Next < Fates.size() && ++Fates[Next] > dfZeros)
                Fates[Next++] = dfAll;
            if (Next == Fates.size())
                return;
        }
    }

    static std::string WithWrites(const TFile& File, TDataFate Fate) {
        std::string Content = File.OnDisk;
        if (Fate == dfNone)
            return Content;
        std::size_t Total = 0;
        for (const auto& Write : File.Unflushed)
            Total += Write.second.size();
        std::size_t Budget = Fate == dfHalf ? Total / 2 : Total;
        for (const auto& [Offset, Data] : File.Unflushed) {
            std::string Kept = Data.substr(0, std::min(Budget, Data.size()));
            Budget -= Kept.size();
            if (Fate == dfZeros)
                Kept.assign(Kept.size(), '\0');
            if (Content.size() < Offset + Kept.size())
                Content.resize(Offset + Kept.size());
            Content.replace(Offset, Kept.size(), Kept);
        }
        return Content;
    }

    static std::string Describe(const TRecordedCall& Call) {
        static const char* const Kinds[] = {"create", "write", "flush",  "flush folder",
                                            "rename", "link",  "unlink", "close"};
        std::string Text = Kinds[Call.Kind];
        if (!Call.Name.empty())
            Text += " " + Call.Name;
        if (!Call.To.empty())
            Text += " -> " + Call.To;
        return Text;
    }
    static std::string Describe(const TNameChange& Change) {
        return Describe(TRecordedCall{Change.Kind, -1, Change.Name, Change.To, 0, {}});
    }

    int FExplored = 0;
    std::set<TFolderFiles> FSeen;
    std::vector<TState> FStates;
};

} // namespace q7n::testing
