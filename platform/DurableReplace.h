#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace q7n::platform {

// The steps of ReplaceFileDurably, in order.
enum TReplaceStep {
    rsWriteTemporary, // write the new content to a temporary file beside the target and flush it
    rsKeepBackup,     // move the previous file to the backup name
    rsMoveIntoPlace,  // move the temporary file onto the target
    rsFlushFolder,    // make the new name durable
    rsRemoveBackup,   // remove the backup made in rsKeepBackup
};

// Called before each step; what it raises fails that step as the platform's own error would.
// For tests that prove what a failing step leaves behind.
using TReplaceFault = std::function<void(TReplaceStep Step)>;

// For tests that prove the flushes matter: leaves one out, as a save that forgot it would.
struct TReplaceFlushes {
    bool Temporary = true; // the flush of the temporary file's data before it is moved
    bool Folder = true;    // the flush of the folder once the new file is in place
};

struct TReplaceOutcome {
    // A failure after the new file was in place (the folder flush, the removal of the backup):
    // the file is replaced, but this is worth telling. Empty when there was none.
    std::string Remark;
    int StaleTemporariesRemoved = 0;
};

// Replaces the file at Target with Data so that a crash or a failure at any point leaves either
// the previous file or the new one whole:
//   remove the temporaries that interrupted saves of Target left (never one still being written);
//   write Data to a temporary file beside Target and flush it;
//   move the previous file, if any, to Backup, unless a file is already there: a backup this call
//   did not make is never touched (the previous file then stays until the atomic move replaces it);
//   move the temporary file onto Target; on failure put the previous file back and raise;
//   flush the folder, then remove the backup this call made.
// Each step that meets a file held open by another program tries again for a moment
// (RetryWhileHeld) before it fails with the system's reason.
// Raises (std::system_error or std::runtime_error, or what Fault raised) when Target was not
// replaced; the previous file is then back in place and no temporary file remains. Failures after
// the move are remarks.
TReplaceOutcome ReplaceFileDurably(const std::string& Target, std::string_view Data,
                                   const std::string& Backup, const TReplaceFault& Fault = {},
                                   const TReplaceFlushes& Flushes = {});

} // namespace q7n::platform
