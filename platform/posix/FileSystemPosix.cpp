#include "platform/FileCallTrace.h"
#include "platform/FileSystem.h"
#include "platform/HeldFileRetry.h"
#include "platform/TemporaryFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace q7n::platform {

namespace {

std::atomic<IFileCallObserver*> GObserver{nullptr};

void Tell(TFileCallKind Kind, int File, std::string_view Path = {}, std::string_view To = {}) {
    if (IFileCallObserver* Observer = GObserver.load(std::memory_order_relaxed))
        Observer->Called({Kind, File, Path, To, 0, {}});
}

[[noreturn]] void ThrowErrno(const std::string& What, const std::string& Path) {
    throw std::system_error(errno, std::generic_category(), What + " '" + Path + "'");
}

std::string FolderOf(const std::string& Path) {
    std::size_t Slash = Path.find_last_of('/');
    if (Slash == std::string::npos)
        return ".";
    if (Slash == 0)
        return "/";
    return Path.substr(0, Slash);
}

void WriteAll(int Fd, std::string_view Data, const std::string& Path) {
    while (!Data.empty()) {
        ssize_t Written = ::write(Fd, Data.data(), Data.size());
        if (Written < 0) {
            if (errno == EINTR)
                continue;
            ThrowErrno("Cannot write", Path);
        }
        if (IFileCallObserver* Observer = GObserver.load(std::memory_order_relaxed)) {
            auto End = static_cast<std::uint64_t>(::lseek(Fd, 0, SEEK_CUR));
            auto Size = static_cast<std::size_t>(Written);
            Observer->Called({fcWrite, Fd, Path, {}, End - Size, Data.substr(0, Size)});
        }
        Data.remove_prefix(static_cast<std::size_t>(Written));
    }
}

// Whether the open File is what Path names now: a cleanup may remove a name between the
// creation of a temporary file and its lock.
bool NamesFile(const std::string& Path, int File) {
    struct stat Named {
    }, Open{};
    return ::lstat(Path.c_str(), &Named) == 0 && ::fstat(File, &Open) == 0 &&
           S_ISREG(Named.st_mode) && Named.st_dev == Open.st_dev && Named.st_ino == Open.st_ino;
}

} // namespace

void ObserveFileCalls(IFileCallObserver* Observer) {
    GObserver.store(Observer);
}

void TFileHandleTraits::Close(int Handle) const {
    ::close(Handle);
    Tell(fcClose, Handle);
}

void FlushFolderOf(const std::string& Path) {
    std::string Folder = FolderOf(Path);
    TFileHandle Fd(::open(Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!Fd)
        ThrowErrno("Cannot open folder", Folder);
    if (::fsync(Fd.Get()) != 0 && errno != EINVAL)
        ThrowErrno("Cannot flush folder", Folder);
    Tell(fcFlushFolder, Fd.Get(), Folder);
}

bool IsPathSeparator(char C) {
    return C == '/';
}

bool SamePathName(std::string_view A, std::string_view B) {
    return A == B;
}

bool FileExists(const std::string& Path) {
    struct stat Info {};
    return ::stat(Path.c_str(), &Info) == 0 && S_ISREG(Info.st_mode);
}

std::optional<std::uint64_t> FileSize(const std::string& Path) {
    struct stat Info {};
    if (::stat(Path.c_str(), &Info) != 0 || !S_ISREG(Info.st_mode))
        return std::nullopt;
    return static_cast<std::uint64_t>(Info.st_size);
}

bool IsHeldByAnotherProgram(const std::error_code&) {
    return false; // an open file can be renamed and removed
}

bool RemoveFile(const std::string& Path) {
    if (::unlink(Path.c_str()) != 0)
        return false;
    Tell(fcUnlink, -1, Path);
    return true;
}

void RemoveFileOrRaise(const std::string& Path) {
    if (!RemoveFile(Path))
        ThrowErrno("Cannot remove", Path);
}

bool RenameFile(const std::string& From, const std::string& To) {
    // One call that fails when To exists: a crash leaves the file under one name or the other.
    if (::renameat2(AT_FDCWD, From.c_str(), AT_FDCWD, To.c_str(), RENAME_NOREPLACE) == 0) {
        Tell(fcRename, -1, From, To);
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // File systems without it: a hard link fails when To exists too. The new name is flushed
    // before the old one goes, or a crash could keep the removal and lose the link.
    if (::link(From.c_str(), To.c_str()) == 0) {
        Tell(fcLink, -1, From, To);
        try {
            FlushFolderOf(To);
        } catch (const std::system_error& Error) {
            RemoveFile(To);
            errno = Error.code().value();
            return false;
        }
        return RemoveFile(From);
    }
    if (errno == EEXIST)
        return false;
    // File systems without hard links: check, then rename.
    if (::access(To.c_str(), F_OK) == 0) {
        errno = EEXIST;
        return false;
    }
    if (::rename(From.c_str(), To.c_str()) != 0)
        return false;
    Tell(fcRename, -1, From, To);
    return true;
}

void RenameFileOrRaise(const std::string& From, const std::string& To) {
    if (!RenameFile(From, To))
        ThrowErrno("Cannot move '" + From + "' to", To);
}

TFileBytes ReadFileBytes(const std::string& Path) {
    TFileHandle Fd(::open(Path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!Fd)
        ThrowErrno("Cannot open", Path);
    // Read straight into a buffer of the file's size and one byte more, which tells the end
    // without another read when the file did not grow.
    struct stat Info {};
    std::size_t Expected = ::fstat(Fd.Get(), &Info) == 0 && Info.st_size > 0
                               ? static_cast<std::size_t>(Info.st_size)
                               : 0;
    TFileBytes Bytes(std::make_unique_for_overwrite<char[]>(Expected + 1), Expected + 1);
    std::size_t Filled = 0;
    for (;;) {
        if (Filled == Bytes.Size())
            Bytes.Grow();
        ssize_t Read = ::read(Fd.Get(), Bytes.Data() + Filled, Bytes.Size() - Filled);
        if (Read < 0) {
            if (errno == EINTR)
                continue;
            ThrowErrno("Cannot read", Path);
        }
        if (Read == 0)
            break;
        Filled += static_cast<std::size_t>(Read);
    }
    Bytes.Truncate(Filled);
    return Bytes;
}

TTemporaryFile::TTemporaryFile(const std::string& Target) {
    for (int Attempt = 0;; ++Attempt) {
        std::string Path = Target + ".tmp-XXXXXX";
        TFileHandle File(::mkostemp(Path.data(), O_CLOEXEC));
        if (!File)
            ThrowErrno("Cannot create a temporary file beside", Target);
        Tell(fcCreate, File.Get(), Path);
        TFileRemover Remover(Path);
        // Locked, and still under its name, it is ours: no cleanup removes a locked file. A lock
        // held elsewhere is a cleanup that found the file unlocked and is removing it. Where the
        // file system has no locks, cleanups cannot lock either and remove nothing.
        bool LockedElsewhere = ::flock(File.Get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
        if (!LockedElsewhere && NamesFile(Path, File.Get())) {
            FFile = std::move(File);
            FRemover = std::move(Remover);
            break;
        }
        static_cast<void>(Remover.Release()); // the name is no longer ours to remove
        if (Attempt == 100)
            ThrowErrno("Cannot lock a temporary file beside", Target);
    }
    struct stat Info {};
    mode_t Mode;
    if (::stat(Target.c_str(), &Info) == 0) {
        Mode = Info.st_mode & 07777;
    } else {
        mode_t Mask = ::umask(0);
        ::umask(Mask);
        Mode = 0666 & ~Mask;
    }
    if (::fchmod(FFile.Get(), Mode) != 0)
        ThrowErrno("Cannot set the permissions of", Path());
}

void TTemporaryFile::Write(std::string_view Data, bool Flush) {
    WriteAll(FFile.Get(), Data, Path());
    if (!Flush)
        return;
    if (::fsync(FFile.Get()) != 0)
        ThrowErrno("Cannot flush", Path());
    Tell(fcFlushFile, FFile.Get(), Path());
}

void TTemporaryFile::MoveTo(const std::string& Target, bool Replace) {
    bool Moved =
        Replace ? ::rename(Path().c_str(), Target.c_str()) == 0 : RenameFile(Path(), Target);
    if (!Moved)
        ThrowErrno("Cannot move '" + Path() + "' to", Target);
    if (Replace)
        Tell(fcRename, -1, Path(), Target);
    static_cast<void>(FRemover.Release());
    FFile.Reset();
}

int RemoveStaleTemporaries(const std::string& Target) {
    std::size_t Slash = Target.find_last_of('/');
    std::string Prefix = (Slash == std::string::npos ? Target : Target.substr(Slash + 1)) + ".tmp-";
    int Removed = 0;
    std::error_code Error;
    for (std::filesystem::directory_iterator Entry(FolderOf(Target), Error), End;
         !Error && Entry != End; Entry.increment(Error)) {
        std::string Name = Entry->path().filename().string();
        if (Name.compare(0, Prefix.size(), Prefix) != 0)
            continue;
        std::string Path = Entry->path().string();
        TFileHandle File(::open(Path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
        // A save in progress holds its lock; a file is stale once its writer is gone.
        if (File && ::flock(File.Get(), LOCK_EX | LOCK_NB) == 0 && NamesFile(Path, File.Get()) &&
            RemoveFile(Path))
            ++Removed;
    }
    return Removed;
}

} // namespace q7n::platform
