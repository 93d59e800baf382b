#include "base/TextCompare.h"
#include "platform/FileSystem.h"
#include "platform/HeldFileRetry.h"
#include "platform/TemporaryFile.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Text.h"

#include <windows.h>

#include <algorithm>
#include <random>
#include <system_error>
#include <vector>

namespace q7n::platform {

namespace {

[[noreturn]] void ThrowLastError(const std::string& What, const std::string& Path,
                                 DWORD Error = ::GetLastError()) {
    ThrowWin32Error(What + " '" + Path + "'", Error);
}

bool Attributes(const std::string& Path, WIN32_FILE_ATTRIBUTE_DATA& Data) {
    std::wstring Wide;
    try {
        Wide = Utf8ToWide(Path);
    } catch (const std::system_error&) {
        return false;
    }
    return ::GetFileAttributesExW(Wide.c_str(), GetFileExInfoStandard, &Data) != 0;
}

bool IsRegularFile(const WIN32_FILE_ATTRIBUTE_DATA& Data) {
    return (Data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

void WriteAll(HANDLE File, std::string_view Data, const std::string& Path) {
    while (!Data.empty()) {
        DWORD Chunk = static_cast<DWORD>(std::min<std::size_t>(Data.size(), 1u << 30));
        DWORD Written = 0;
        if (!::WriteFile(File, Data.data(), Chunk, &Written, nullptr))
            ThrowLastError("Cannot write", Path);
        Data.remove_prefix(Written);
    }
}

std::string RandomSuffix() {
    static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device Device;
    std::string Suffix;
    for (int I = 0; I < 6; ++I)
        Suffix += Letters[Device() % (sizeof Letters - 1)];
    return Suffix;
}

std::string FileNameOf(const std::string& Path) {
    std::size_t Separator = Path.find_last_of("\\/");
    return Separator == std::string::npos ? Path : Path.substr(Separator + 1);
}

std::string FolderOf(const std::string& Path) {
    std::size_t Separator = Path.find_last_of("\\/");
    return Separator == std::string::npos ? std::string(".") : Path.substr(0, Separator);
}

// Closes a search handle of FindFirstFileW when it goes.
struct TFindHandleTraits {
    using THandle = HANDLE;
    static THandle Invalid() { return INVALID_HANDLE_VALUE; }
    void Close(THandle Handle) const { ::FindClose(Handle); }
};

} // namespace

void TFileHandleTraits::Close(void* Handle) const {
    ::CloseHandle(Handle);
}

bool IsPathSeparator(char C) {
    return C == '\\' || C == '/';
}

bool SamePathName(std::string_view A, std::string_view B) {
    return SameText(A, B);
}

bool FileExists(const std::string& Path) {
    WIN32_FILE_ATTRIBUTE_DATA Data{};
    return Attributes(Path, Data) && IsRegularFile(Data);
}

std::optional<std::uint64_t> FileSize(const std::string& Path) {
    WIN32_FILE_ATTRIBUTE_DATA Data{};
    if (!Attributes(Path, Data) || !IsRegularFile(Data))
        return std::nullopt;
    return (static_cast<std::uint64_t>(Data.nFileSizeHigh) << 32) | Data.nFileSizeLow;
}

bool IsHeldByAnotherProgram(const std::error_code& Error) {
    if (Error.category() != Win32Category() && Error.category() != std::system_category())
        return false;
    switch (Error.value()) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_ACCESS_DENIED:
        return true;
    default:
        return false;
    }
}

void RemoveFileOrRaise(const std::string& Path) {
    if (!::DeleteFileW(Utf8ToWide(Path).c_str()))
        ThrowLastError("Cannot remove", Path);
}

void RenameFileOrRaise(const std::string& From, const std::string& To) {
    // Without MOVEFILE_REPLACE_EXISTING the move fails when To exists.
    if (!::MoveFileExW(Utf8ToWide(From).c_str(), Utf8ToWide(To).c_str(), MOVEFILE_WRITE_THROUGH))
        ThrowLastError("Cannot move '" + From + "' to", To);
}

bool RemoveFile(const std::string& Path) {
    try {
        RemoveFileOrRaise(Path);
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

bool RenameFile(const std::string& From, const std::string& To) {
    try {
        RenameFileOrRaise(From, To);
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

TFileBytes ReadFileBytes(const std::string& Path) {
    TFileHandle File(::CreateFileW(Utf8ToWide(Path).c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!File)
        ThrowLastError("Cannot open", Path);
    // Read straight into a buffer of the file's size and one byte more, which tells the end
    // without another read when the file did not grow.
    LARGE_INTEGER Expected{};
    std::size_t Size = ::GetFileSizeEx(File.Get(), &Expected) && Expected.QuadPart > 0
                           ? static_cast<std::size_t>(Expected.QuadPart)
                           : 0;
    TFileBytes Bytes(std::make_unique_for_overwrite<char[]>(Size + 1), Size + 1);
    std::size_t Filled = 0;
    for (;;) {
        if (Filled == Bytes.Size())
            Bytes.Grow();
        DWORD Read = 0;
        const DWORD Wanted =
            static_cast<DWORD>(std::min<std::size_t>(Bytes.Size() - Filled, 1u << 30));
        if (!::ReadFile(File.Get(), Bytes.Data() + Filled, Wanted, &Read, nullptr))
            ThrowLastError("Cannot read", Path);
        if (Read == 0)
            break;
        Filled += Read;
    }
    Bytes.Truncate(Filled);
    return Bytes;
}

TTemporaryFile::TTemporaryFile(const std::string& Target) {
    // The new file inherits the folder's access rules, as a file saved in place would; Windows
    // has no permission bits to copy from Target. Opened without delete sharing, it cannot be
    // removed by anyone while this handle is open; the handle itself renames it into place.
    for (int Attempt = 0;; ++Attempt) {
        std::string Path = Target + ".tmp-" + RandomSuffix();
        TFileHandle File(::CreateFileW(Utf8ToWide(Path).c_str(), GENERIC_WRITE | DELETE,
                                       FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                       nullptr));
        if (File) {
            FRemover.Reset(Path);
            FFile = std::move(File);
            return;
        }
        DWORD Error = ::GetLastError();
        if ((Error != ERROR_FILE_EXISTS && Error != ERROR_ALREADY_EXISTS) || Attempt == 100)
            ThrowLastError("Cannot create a temporary file beside", Target, Error);
    }
}

void TTemporaryFile::Write(std::string_view Data, bool Flush) {
    WriteAll(FFile.Get(), Data, Path());
    if (Flush && !::FlushFileBuffers(FFile.Get()))
        ThrowLastError("Cannot flush", Path());
}

void TTemporaryFile::MoveTo(const std::string& Target, bool Replace) {
    // FILE_RENAME_INFO ends in the new name; the kernel reads it as a NUL-terminated path.
    std::wstring Name = Utf8ToWide(Target);
    std::vector<char> Buffer(sizeof(FILE_RENAME_INFO) + (Name.size() + 1) * sizeof(wchar_t));
    auto* Info = reinterpret_cast<FILE_RENAME_INFO*>(Buffer.data());
    Info->ReplaceIfExists = Replace;
    Info->RootDirectory = nullptr;
    Info->FileNameLength = static_cast<DWORD>(Name.size() * sizeof(wchar_t));
    std::copy(Name.begin(), Name.end(), Info->FileName);
    if (!::SetFileInformationByHandle(FFile.Get(), FileRenameInfo, Info,
                                      static_cast<DWORD>(Buffer.size())))
        ThrowLastError("Cannot move '" + Path() + "' to", Target);
    static_cast<void>(FRemover.Release());
    FFile.Reset();
}

int RemoveStaleTemporaries(const std::string& Target) {
    std::string Prefix = FileNameOf(Target) + ".tmp-";
    std::string Folder = FolderOf(Target);
    WIN32_FIND_DATAW Found{};
    std::wstring Pattern;
    try {
        Pattern = Utf8ToWide(Folder + "\\" + Prefix + "*");
    } catch (const std::system_error&) {
        return 0;
    }
    TUniqueHandle<TFindHandleTraits> Search(::FindFirstFileW(Pattern.c_str(), &Found));
    if (!Search)
        return 0;
    int Removed = 0;
    do {
        // The pattern also matches short 8.3 names: check the long one.
        std::string Name = WideToUtf8(Found.cFileName);
        if (Name.compare(0, Prefix.size(), Prefix) != 0 ||
            (Found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        // A save in progress holds its file open without delete sharing: the delete fails.
        if (RemoveFile(Folder + "\\" + Name))
            ++Removed;
    } while (::FindNextFileW(Search.Get(), &Found));
    return Removed;
}

void FlushFolderOf(const std::string& Path) {
    TFileHandle File(::CreateFileW(Utf8ToWide(Path).c_str(), GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!File || !::FlushFileBuffers(File.Get()))
        ThrowLastError("Cannot flush", Path);
}

} // namespace q7n::platform
