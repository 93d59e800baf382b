#include "platform/FileLock.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Text.h"

namespace q7n::platform {

TFileHandle TFileLock::OpenLockFile(const std::string& Path) {
    // Read access is enough to lock; sharing everything, the file never stands in anyone's way.
    // A link (a reparse point: a symbolic link, a junction) in the lock file's place is opened
    // itself, not followed, and refused: in a folder that others may write, it would have us
    // create or open whatever file it names, with our rights.
    TFileHandle File(::CreateFileW(Utf8ToWide(Path).c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!File)
        ThrowWin32Error("Cannot open the lock file '" + Path + "'");
    BY_HANDLE_FILE_INFORMATION Information{};
    if (!::GetFileInformationByHandle(File.Get(), &Information))
        ThrowWin32Error("Cannot open the lock file '" + Path + "'");
    if (Information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        ThrowWin32Error("Cannot open the lock file '" + Path +
                            "': it is a link, which is not followed",
                        ERROR_CANT_ACCESS_FILE);
    return File;
}

bool TFileLock::TryLock(const TFileHandle& File, TLockMode Mode, const std::string& Path) {
    const DWORD Flags =
        LOCKFILE_FAIL_IMMEDIATELY | (Mode == lmExclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    // The first byte: a lock may lie past the end of a file, so the lock file stays empty.
    OVERLAPPED At{};
    if (::LockFileEx(File.Get(), Flags, 0, 1, 0, &At))
        return true;
    const DWORD Error = ::GetLastError();
    if (Error == ERROR_LOCK_VIOLATION || Error == ERROR_IO_PENDING)
        return false;
    ThrowWin32Error("Cannot lock '" + Path + "'", Error);
}

} // namespace q7n::platform
