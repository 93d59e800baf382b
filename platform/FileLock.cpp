#include "platform/FileLock.h"

#include <algorithm>
#include <thread>

namespace q7n::platform {

TFileLock TFileLock::Acquire(const std::string& Path, TLockMode Mode,
                             std::chrono::milliseconds Wait, const TLockPause& Pause) {
    TFileHandle File = OpenLockFile(Path);
    // Neither system waits for a lock with a time limit: try, then pause, a little longer each
    // time, until the holder lets go or the time is up.
    const auto Deadline = std::chrono::steady_clock::now() + Wait;
    std::chrono::milliseconds Next{1};
    while (!TryLock(File, Mode, Path)) {
        if (std::chrono::steady_clock::now() >= Deadline)
            return {};
        if (Pause)
            Pause(Next);
        else
            std::this_thread::sleep_for(Next);
        Next = std::min(Next * 2, std::chrono::milliseconds{50});
    }
    TFileLock Lock;
    Lock.FFile = std::move(File);
    return Lock;
}

} // namespace q7n::platform
