#include "FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace q7n::platform {

namespace {

[[noreturn]] void ThrowErrno(const std::string& What, const std::string& Path) {
    throw std::system_error(errno, std::generic_category(), What + " '" + Path + "'");
}

// Closes a descriptor when it goes out of scope.
class TFileDescriptor {
public:
    explicit TFileDescriptor(int Fd) : FFd(Fd) {}
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    ~TFileDescriptor() {
        if (FFd >= 0)
            ::close(FFd);
    }
    int Get() const { return FFd; }
    // Closes now, so that a failing close is seen.
    int Close() {
        int Result = ::close(FFd);
        FFd = -1;
        return Result;
    }

private:
    int FFd;
};

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
        Data.remove_prefix(static_cast<std::size_t>(Written));
    }
}

void FlushFolder(const std::string& Path) {
    std::string Folder = FolderOf(Path);
    TFileDescriptor Fd(::open(Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (Fd.Get() < 0)
        ThrowErrno("Cannot open folder", Folder);
    if (::fsync(Fd.Get()) != 0 && errno != EINVAL)
        ThrowErrno("Cannot flush folder", Folder);
}

} // namespace

bool IsPathSeparator(char C) {
    return C == '/';
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

bool RemoveFile(const std::string& Path) {
    return ::unlink(Path.c_str()) == 0;
}

bool RenameFile(const std::string& From, const std::string& To) {
    // A hard link fails when To exists, which gives the no-replace rename atomically.
    if (::link(From.c_str(), To.c_str()) == 0)
        return ::unlink(From.c_str()) == 0;
    if (errno == EEXIST)
        return false;
    // File systems without hard links: check, then rename.
    if (::access(To.c_str(), F_OK) == 0)
        return false;
    return ::rename(From.c_str(), To.c_str()) == 0;
}

std::string ReadWholeFile(const std::string& Path) {
    TFileDescriptor Fd(::open(Path.c_str(), O_RDONLY | O_CLOEXEC));
    if (Fd.Get() < 0)
        ThrowErrno("Cannot open", Path);
    // Read straight into a string of the file's size; keep going past it in case the file grew.
    struct stat Info {};
    std::size_t Expected = ::fstat(Fd.Get(), &Info) == 0 && Info.st_size > 0
                               ? static_cast<std::size_t>(Info.st_size)
                               : 0;
    std::string Content(Expected + 1, '\0');
    std::size_t Filled = 0;
    for (;;) {
        if (Filled == Content.size())
            Content.resize(Content.size() * 2);
        ssize_t Read = ::read(Fd.Get(), Content.data() + Filled, Content.size() - Filled);
        if (Read < 0) {
            if (errno == EINTR)
                continue;
            ThrowErrno("Cannot read", Path);
        }
        if (Read == 0)
            break;
        Filled += static_cast<std::size_t>(Read);
    }
    Content.resize(Filled);
    return Content;
}

std::string WriteTemporaryFileBeside(const std::string& Target, std::string_view Data) {
    std::string Temporary = Target + ".tmp-XXXXXX";
    TFileDescriptor Fd(::mkostemp(Temporary.data(), O_CLOEXEC));
    if (Fd.Get() < 0)
        ThrowErrno("Cannot create a temporary file beside", Target);
    try {
        struct stat Info {};
        mode_t Mode;
        if (::stat(Target.c_str(), &Info) == 0) {
            Mode = Info.st_mode & 07777;
        } else {
            mode_t Mask = ::umask(0);
            ::umask(Mask);
            Mode = 0666 & ~Mask;
        }
        if (::fchmod(Fd.Get(), Mode) != 0)
            ThrowErrno("Cannot set the permissions of", Temporary);
        WriteAll(Fd.Get(), Data, Temporary);
        if (::fsync(Fd.Get()) != 0)
            ThrowErrno("Cannot flush", Temporary);
        if (Fd.Close() != 0)
            ThrowErrno("Cannot close", Temporary);
    } catch (...) {
        ::unlink(Temporary.c_str());
        throw;
    }
    return Temporary;
}

void MoveFileReplacing(const std::string& From, const std::string& To) {
    if (::rename(From.c_str(), To.c_str()) != 0)
        ThrowErrno("Cannot move '" + From + "' to", To);
    FlushFolder(To);
}

void CopyFileDurably(const std::string& From, const std::string& To) {
    std::string Content = ReadWholeFile(From);
    std::string Temporary = WriteTemporaryFileBeside(To, Content);
    if (!RenameFile(Temporary, To)) {
        int Error = errno;
        ::unlink(Temporary.c_str());
        throw std::system_error(Error ? Error : EEXIST, std::generic_category(),
                                "Cannot create '" + To + "'");
    }
    FlushFolder(To);
}

} // namespace q7n::platform
