#include "platform/FileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <system_error>

namespace q7n::platform {

TFileHandle TFileLock::OpenLockFile(const std::string& Path) {
    // flock needs no write access: a reader who may not write the folder's files still locks.
    // A link in the lock file's place is not followed: in a folder that others may write, it
    // would have us create or open whatever file it names, with our rights. Made for its owner to
    // write and for everyone to read (and so to lock).
    TFileHandle File(::open(Path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644));
    if (!File) {
        const int Error = errno;
        if (Error == ELOOP)
            throw std::system_error(Error, std::generic_category(),
                                    "Cannot open the lock file '" + Path +
                                        "': it is a symbolic link, which is not followed");
        throw std::system_error(Error, std::generic_category(),
                                "Cannot open the lock file '" + Path + "'");
    }
    return File;
}

bool TFileLock::TryLock(const TFileHandle& File, TLockMode Mode, const std::string& Path) {
    const int Operation = (Mode == lmExclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    for (;;) {
        if (::flock(File.Get(), Operation) == 0)
            return true;
        if (errno == EWOULDBLOCK)
            return false;
        if (errno != EINTR)
            throw std::system_error(errno, std::generic_category(), "Cannot lock '" + Path + "'");
    }
}

} // namespace q7n::platform
