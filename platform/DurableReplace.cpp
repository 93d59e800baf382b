#include "platform/DurableReplace.h"

#include "platform/FileSystem.h"
#include "platform/HeldFileRetry.h"
#include "platform/TemporaryFile.h"

#include <stdexcept>

namespace q7n::platform {

namespace {

void Run(const TReplaceFault& Fault, TReplaceStep Step) {
    if (Fault)
        Fault(Step);
}

} // namespace

TReplaceOutcome ReplaceFileDurably(const std::string& Target, std::string_view Data,
                                   const std::string& Backup, const TReplaceFault& Fault,
                                   const TReplaceFlushes& Flushes) {
    TReplaceOutcome Outcome;
    Outcome.StaleTemporariesRemoved = RemoveStaleTemporaries(Target);

    Run(Fault, rsWriteTemporary);
    TTemporaryFile Temporary(Target);
    Temporary.Write(Data, Flushes.Temporary);

    // Each step that touches the previous file waits a moment for another program that holds it
    // open (the service reading it, a virus scanner, a backup agent) to let go.
    bool BackupMade = false;
    if (FileExists(Target) && !FileExists(Backup)) {
        Run(Fault, rsKeepBackup);
        RetryWhileHeld([&] { RenameFileOrRaise(Target, Backup); });
        BackupMade = true;
    }

    try {
        Run(Fault, rsMoveIntoPlace);
        RetryWhileHeld([&] { Temporary.MoveTo(Target, true); });
    } catch (...) {
        // Should this fail too, the backup stands alone and the next load puts it back.
        if (BackupMade) {
            try {
                RetryWhileHeld([&] { RenameFileOrRaise(Backup, Target); });
            } catch (const std::exception&) {
            }
        }
        throw;
    }

    try {
        Run(Fault, rsFlushFolder);
        if (Flushes.Folder)
            RetryWhileHeld([&] { FlushFolderOf(Target); });
    } catch (const std::exception& Error) {
        Outcome.Remark = Error.what();
    }
    if (BackupMade) {
        try {
            Run(Fault, rsRemoveBackup);
            RetryWhileHeld([&] { RemoveFileOrRaise(Backup); });
        } catch (const std::exception& Error) {
            if (!Outcome.Remark.empty())
                Outcome.Remark += "; ";
            Outcome.Remark += Error.what();
        }
    }
    return Outcome;
}

} // namespace q7n::platform
