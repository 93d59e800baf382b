#pragma once

#include "platform/FileHandle.h"

#include <chrono>
#include <functional>
#include <string>

namespace q7n::platform {

enum TLockMode {
    lmShared,    // readers: many at once, but none while a writer holds the file
    lmExclusive, // a writer: alone
};

// How a wait for a lock spends each pause between its tries: a GUI waits through its message loop,
// so that its timers tick on; none sleeps.
using TLockPause = std::function<void(std::chrono::milliseconds)>;

// A lock on a lock file of our own, which it creates when missing and never removes: removing it
// would let two processes lock two different files of one name. The system drops the lock when
// its handle closes, also when the process that held it dies, so a killed program never leaves
// the file locked. POSIX: flock; Windows: LockFileEx.
class TFileLock {
public:
    TFileLock() = default; // holds nothing

    // Locks the file at Path in Mode, waiting at most Wait while another holder keeps it, in
    // pauses spent as Pause says; the answer holds nothing when it did all that time. Raises
    // std::system_error when the lock file cannot be created or opened.
    static TFileLock Acquire(const std::string& Path, TLockMode Mode,
                             std::chrono::milliseconds Wait, const TLockPause& Pause = {});

    explicit operator bool() const { return bool(FFile); }

private:
    // Each backend: opens the lock file, creating it when missing; raises when it cannot.
    static TFileHandle OpenLockFile(const std::string& Path);
    // Each backend: tries once; false while another holder keeps it; raises on other failures.
    static bool TryLock(const TFileHandle& File, TLockMode Mode, const std::string& Path);

    TFileHandle FFile;
};

} // namespace q7n::platform
