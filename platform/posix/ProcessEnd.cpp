#include "platform/posix/ProcessEnd.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <unistd.h>

namespace q7n::platform {

namespace {

// The record as it lies in the file: a mark, then the end. Only processes of this machine read
// it, so the host's byte order will do.
struct TStoredEnd {
    char Mark[8] = {'Q', '7', 'N', 'E', 'N', 'D', '1', '\n'};
    TProcessEnd End;
};

bool SameMark(const TStoredEnd& Stored) {
    const TStoredEnd Expected;
    for (std::size_t Index = 0; Index < sizeof Expected.Mark; ++Index)
        if (Stored.Mark[Index] != Expected.Mark[Index])
            return false;
    return true;
}

} // namespace

TProcessEndFile TProcessEndFile::For(const std::string& Path) {
    std::random_device Random;
    char Suffix[32];
    std::snprintf(Suffix, sizeof Suffix, ".%08x%08x", Random(), Random());
    return {Path, Path + Suffix};
}

void WriteProcessEnd(const TProcessEndFile& File, const TProcessEnd& End) noexcept {
    TStoredEnd Stored;
    Stored.End = End;
    int Fd = ::open(File.Temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (Fd < 0)
        return;
    ssize_t Written;
    do
        Written = ::write(Fd, &Stored, sizeof Stored);
    while (Written < 0 && errno == EINTR);
    ::close(Fd);
    if (Written != static_cast<ssize_t>(sizeof Stored) ||
        ::rename(File.Temporary.c_str(), File.Path.c_str()) != 0)
        ::unlink(File.Temporary.c_str());
}

std::optional<TProcessEnd> ReadProcessEnd(const std::string& Path) {
    int Fd = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC);
    if (Fd < 0)
        return std::nullopt;
    TStoredEnd Stored;
    ssize_t Read;
    do
        Read = ::read(Fd, &Stored, sizeof Stored);
    while (Read < 0 && errno == EINTR);
    ::close(Fd);
    if (Read != static_cast<ssize_t>(sizeof Stored) || !SameMark(Stored))
        return std::nullopt;
    return Stored.End;
}

} // namespace q7n::platform
