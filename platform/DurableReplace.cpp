#include "DurableReplace.h"

#include "FileSystem.h"
#include "TemporaryFile.h"

#include <stdexcept>

namespace q7n::platform {

namespace {

void Run(const TReplaceFault& Fault, TReplaceStep Step) {
    if (Fault)
        Fault(Step);
}

} // namespace

TReplaceOutcome ReplaceFileDurably(const std::string& Target, std::string_view Data,
                                   const std::string& Backup, const TReplaceFault& Fault) {
    TReplaceOutcome Outcome;
    Outcome.StaleTemporariesRemoved = RemoveStaleTemporaries(Target);

    Run(Fault, rsWriteTemporary);
    TTemporaryFile Temporary(Target);
    Temporary.Write(Data);

    bool BackupMade = false;
    if (FileExists(Target) && !FileExists(Backup)) {
        Run(Fault, rsKeepBackup);
        if (!RenameFile(Target, Backup))
            throw std::runtime_error("Cannot move '" + Target + "' to '" + Backup + "'");
        BackupMade = true;
    }

    try {
        Run(Fault, rsMoveIntoPlace);
        Temporary.MoveTo(Target, true);
    } catch (...) {
        // Should this fail too, the backup stands alone and the next load puts it back.
        if (BackupMade)
            RenameFile(Backup, Target);
        throw;
    }

    try {
        Run(Fault, rsFlushFolder);
        FlushFolderOf(Target);
    } catch (const std::exception& Error) {
        Outcome.Remark = Error.what();
    }
    if (BackupMade) {
        try {
            Run(Fault, rsRemoveBackup);
            if (!RemoveFile(Backup))
                throw std::runtime_error("Cannot remove the backup '" + Backup + "'");
        } catch (const std::exception& Error) {
            if (!Outcome.Remark.empty())
                Outcome.Remark += "; ";
            Outcome.Remark += Error.what();
        }
    }
    return Outcome;
}

} // namespace q7n::platform
