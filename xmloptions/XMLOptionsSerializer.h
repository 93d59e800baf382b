#pragma once

#include "base/Component.h"
#include "base/StatusOr.h"
#include "platform/DurableReplace.h"
#include "xmloptions/FileStamp.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace q7n {

class TXMLClass;

// What the latest LoadFromFile found.
enum TXMLLoadStatus {
    lsNotLoaded, // no load has run yet
    lsRead,      // the file was read into the tree
    lsNoFile,    // there was no file: the tree holds its defaults
    lsRejected,  // the file exists but was not accepted: the tree holds its defaults
};

struct TXMLLoadResult {
    TXMLLoadStatus Status = lsNotLoaded;
    std::string FilePath;
    std::string Reason; // why the file was rejected
    // Where the error was found in the file, counted from 1; 0 when not known.
    int Line = 0;
    int Column = 0;
    // For a value that could not be read: its element, and the item, counted from 1, of the
    // innermost list that holds it (0 when none does).
    std::string Element;
    int Item = 0;
    // A backup that stands beside a rejected file, such as an interrupted save leaves: it may
    // hold the last good content. Saves keep it.
    std::string BackupBeside;
    // The file was missing and its backup, left by an interrupted save, was put back first.
    bool RecoveredFromBackup = false;

    // True unless the file exists but was not accepted.
    explicit operator bool() const { return Status == lsRead || Status == lsNoFile; }
};

// What the latest SaveToFile did.
enum TXMLSaveStatus { ssNotSaved, ssSaved, ssFailed };

struct TXMLSaveResult {
    TXMLSaveStatus Status = ssNotSaved;
    std::string FilePath;
    std::string Reason;           // why the save failed; the previous file is unchanged
    std::string Remark;           // saved, but something after the replacement failed
    std::string KeptRejectedPath; // where the rejected previous file was kept, if it was

    // True when the file was replaced.
    explicit operator bool() const { return Status == ssSaved; }
};

// Binds one tree of option objects to one XML file. Neither operation raises for file or content
// errors: a load that cannot complete leaves the tree at its defaults, a save that cannot complete
// leaves the previous file as it was. Each answers what happened; LastLoad and LastSave answer it
// again later.
//
// A save never overwrites a file whose latest load was rejected: that file is first kept beside
// it under a name that says so (RejectedCopyPath), so a user's unreadable data is never lost.
class TXMLOptionsSerializer : public TComponent {
public:
    static constexpr std::uint64_t MaxFileSize = 64ull * 1024 * 1024;
    static constexpr int MaxNestingDepth = 64;

    explicit TXMLOptionsSerializer(TComponent* Owner);

    bool NodeAutoIndent = true;
    bool UseVersionControl = true;
    std::string ApplicationName;
    std::string RootNodeName = "config";
    std::string XMLFilePath;
    std::uint8_t Version = 1;
    std::string ItemNodeCaption = "Item";
    std::function<void(TXMLOptionsSerializer* Sender)> OnAfterLoad;
    TXMLClass* RootObject = nullptr; // not owned
    // For tests: makes a step of the file replacement fail (see platform::ReplaceFileDurably).
    platform::TReplaceFault ReplaceFault;
    // For tests: leaves out a flush of the file replacement (see platform::TReplaceFlushes).
    platform::TReplaceFlushes ReplaceFlushes;

    // Resets RootObject to its defaults, then fills it from XMLFilePath. A missing file whose
    // backup exists is recovered from the backup first. Without a RootObject it does nothing and
    // answers LastLoad.
    TXMLLoadResult LoadFromFile();
    // Writes RootObject to XMLFilePath through a temporary file, so that the previous file stays
    // whole until the new one stands; the previous file is held under the backup name meanwhile,
    // unless another backup is there already, which is kept. Without a RootObject it does nothing
    // and answers LastSave.
    TXMLSaveResult SaveToFile();
    // The bytes that SaveToFile writes: RootObject as the file's text. Fails (ERROR_INVALID_DATA,
    // with the reason that SaveToFile would answer) for a tree that makes no valid file, and
    // without a RootObject.
    TStatusOr<std::string> DocumentBytes() const;

    // What the latest LoadFromFile and SaveToFile answered (lsNotLoaded, ssNotSaved before any).
    TXMLLoadResult LastLoad() const { return FLastLoad; }
    TXMLSaveResult LastSave() const { return FLastSave; }

    // Whether the file at XMLFilePath is no longer what the latest load read there (or the
    // latest save wrote): another program changed, created or removed it since. False when that
    // is not known (nothing was read or written there, or the file cannot be read now).
    bool FileChangedOnDisk() const;

    // The backup name of Path: its extension replaced by ".bak".
    static std::string BackupPath(const std::string& Path);
    // The first free name under which a rejected file at Path is kept, such as
    // "Q7NPorts.rejected.xml", then "Q7NPorts.rejected-2.xml".
    static std::string RejectedCopyPath(const std::string& Path);
    // The lock file of Path, which the programs that change the file lock: its extension
    // replaced by ".lock".
    static std::string LockPath(const std::string& Path);

private:
    TXMLLoadResult ReadFileInto(TXMLClass& Root);
    // Copies the file at XMLFilePath aside when its latest load was rejected; answers the copy's
    // path, empty when there was nothing to keep.
    std::string KeepRejectedFile();

    TXMLLoadResult FLastLoad;
    TXMLSaveResult FLastSave;
    std::string FRejectedFilePath; // the file whose latest load was rejected and is not yet kept
    // What the latest load found, or the latest save wrote, at FStampedPath.
    std::optional<TFileStamp> FStamp;
    std::string FStampedPath;
};

} // namespace q7n
