#pragma once

#include "platform/FileHandle.h"

#include <string>
#include <string_view>

namespace q7n::platform {

// Removes the file at a path when it goes, unless released.
struct TRemoveFileTraits {
    using THandle = std::string;
    static THandle Invalid() { return {}; }
    void Close(const THandle& Path) const;
};

using TFileRemover = TUniqueHandle<TRemoveFileTraits>;

// A new file beside a target, named "<target>.tmp-<unique>", that is open from its creation
// until it is moved into place or dropped. While it is open it is locked (POSIX: flock; Windows:
// opened without delete sharing), so that RemoveStaleTemporaries of another save, in this or
// another process, never removes it; once its writer is gone, it is stale and may be removed.
class TTemporaryFile {
public:
    // Creates the file beside Target, with Target's permissions when Target exists.
    explicit TTemporaryFile(const std::string& Target);

    std::string Path() const { return FRemover.Get(); }

    // Writes Data and flushes it to disk (without Flush, only for tests that prove the flush
    // matters, it leaves that to the system).
    void Write(std::string_view Data, bool Flush = true);

    // Moves the file to Target. With Replace, an existing Target is replaced atomically;
    // without, the move fails when Target exists. Afterwards nothing is left to remove.
    void MoveTo(const std::string& Target, bool Replace);

private:
    // Declared first so that it goes last: on Windows an open file cannot be removed.
    TFileRemover FRemover;
    TFileHandle FFile;
};

// Removes the temporary files of Target that no save holds any more: those that saves killed
// part way left behind. Answers how many it removed; never raises.
int RemoveStaleTemporaries(const std::string& Target);

// Makes the latest change of the name of the file at Path survive a crash: POSIX flushes its
// folder; Windows flushes the file, whose rename NTFS journals with it.
void FlushFolderOf(const std::string& Path);

} // namespace q7n::platform
