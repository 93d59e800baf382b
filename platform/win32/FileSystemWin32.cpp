#include "FileSystem.h"
#include "Win32Text.h"

#include <algorithm>
#include <random>
#include <system_error>
#include <windows.h>

namespace q7n::platform {

namespace {

[[noreturn]] void ThrowLastError(const std::string& What, const std::string& Path,
                                 DWORD Error = ::GetLastError()) {
    throw std::system_error(static_cast<int>(Error), std::system_category(),
                            What + " '" + Path + "'");
}

// Closes a file handle when it goes out of scope.
class TFileHandle {
public:
    explicit TFileHandle(HANDLE Handle) : FHandle(Handle) {}
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;
    ~TFileHandle() {
        if (Valid())
            ::CloseHandle(FHandle);
    }
    bool Valid() const { return FHandle != INVALID_HANDLE_VALUE && FHandle != nullptr; }
    HANDLE Get() const { return FHandle; }
    // Closes now, so that a failing close is seen.
    bool Close() {
        BOOL Ok = ::CloseHandle(FHandle);
        FHandle = INVALID_HANDLE_VALUE;
        return Ok != 0;
    }

private:
    HANDLE FHandle;
};

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

} // namespace

bool IsPathSeparator(char C) {
    return C == '\\' || C == '/';
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

bool RemoveFile(const std::string& Path) {
    try {
        return ::DeleteFileW(Utf8ToWide(Path).c_str()) != 0;
    } catch (const std::system_error&) {
        return false;
    }
}

bool RenameFile(const std::string& From, const std::string& To) {
    try {
        // Without MOVEFILE_REPLACE_EXISTING the move fails when To exists.
        return ::MoveFileExW(Utf8ToWide(From).c_str(), Utf8ToWide(To).c_str(),
                             MOVEFILE_WRITE_THROUGH) != 0;
    } catch (const std::system_error&) {
        return false;
    }
}

std::string ReadWholeFile(const std::string& Path) {
    TFileHandle File(::CreateFileW(Utf8ToWide(Path).c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!File.Valid())
        ThrowLastError("Cannot open", Path);
    std::string Content;
    char Buffer[65536];
    for (;;) {
        DWORD Read = 0;
        if (!::ReadFile(File.Get(), Buffer, sizeof Buffer, &Read, nullptr))
            ThrowLastError("Cannot read", Path);
        if (Read == 0)
            break;
        Content.append(Buffer, Read);
    }
    return Content;
}

std::string WriteTemporaryFileBeside(const std::string& Target, std::string_view Data) {
    // The new file inherits the folder's access rules, as a file saved in place would; Windows
    // has no permission bits to copy from Target.
    for (int Attempt = 0;; ++Attempt) {
        std::string Temporary = Target + ".tmp-" + RandomSuffix();
        std::wstring Wide = Utf8ToWide(Temporary);
        TFileHandle File(::CreateFileW(Wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!File.Valid()) {
            DWORD Error = ::GetLastError();
            if ((Error == ERROR_FILE_EXISTS || Error == ERROR_ALREADY_EXISTS) && Attempt < 100)
                continue;
            ThrowLastError("Cannot create a temporary file beside", Target, Error);
        }
        try {
            WriteAll(File.Get(), Data, Temporary);
            if (!::FlushFileBuffers(File.Get()))
                ThrowLastError("Cannot flush", Temporary);
            if (!File.Close())
                ThrowLastError("Cannot close", Temporary);
        } catch (...) {
            if (File.Valid())
                File.Close();
            ::DeleteFileW(Wide.c_str());
            throw;
        }
        return Temporary;
    }
}

void MoveFileReplacing(const std::string& From, const std::string& To) {
    // MOVEFILE_WRITE_THROUGH returns only once the move is on disk.
    if (!::MoveFileExW(Utf8ToWide(From).c_str(), Utf8ToWide(To).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        ThrowLastError("Cannot move '" + From + "' to", To);
}

void CopyFileDurably(const std::string& From, const std::string& To) {
    std::string Content = ReadWholeFile(From);
    std::string Temporary = WriteTemporaryFileBeside(To, Content);
    if (!RenameFile(Temporary, To)) {
        DWORD Error = ::GetLastError();
        ::DeleteFileW(Utf8ToWide(Temporary).c_str());
        ThrowLastError("Cannot create", To, Error ? Error : ERROR_FILE_EXISTS);
    }
}

} // namespace q7n::platform
