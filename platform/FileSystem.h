#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

// File operations of the host platform. Paths are UTF-8. Functions that answer a boolean report
// failure that way; the others raise std::system_error naming the path and the platform's error.
namespace q7n::platform {

// The separators of a path on this platform ("/" on POSIX; "\" and "/" on Windows).
bool IsPathSeparator(char C);

// Whether two paths, each in one spelling (as lexically normal paths are), name the same path as
// this platform compares names: byte for byte on POSIX, without regard to case on Windows.
bool SamePathName(std::string_view A, std::string_view B);

// Whether a regular file exists at Path.
bool FileExists(const std::string& Path);

// Size of the regular file at Path, or nothing when it cannot be examined.
std::optional<std::uint64_t> FileSize(const std::string& Path);

// Deletes the file at Path.
bool RemoveFile(const std::string& Path);

// Renames From to To; fails, and replaces nothing, when To exists.
bool RenameFile(const std::string& From, const std::string& To);

// As RemoveFile and RenameFile, but a failure raises, naming the paths and the platform's reason.
void RemoveFileOrRaise(const std::string& Path);
void RenameFileOrRaise(const std::string& From, const std::string& To);

// Path with its extension (from the last "." after the last separator) replaced by Extension,
// which carries its own dot; Extension is appended when Path has none.
std::string ChangeFileExt(const std::string& Path, const std::string& Extension);

// A file's bytes as read, in a buffer of their size that is not filled with zeros first: a load
// reads a ports file of megabytes once, and the parser works in this buffer.
class TFileBytes {
public:
    TFileBytes() = default;
    TFileBytes(std::unique_ptr<char[]> Buffer, std::size_t Size)
        : FBuffer(std::move(Buffer)), FSize(Size) {}

    char* Data() { return FBuffer.get(); }
    std::size_t Size() const { return FSize; }
    std::string_view View() const { return {FBuffer.get(), FSize}; }

    // Doubles the buffer, keeping its bytes (for a file that grew while it was read).
    void Grow();
    // Keeps the first Count bytes.
    void Truncate(std::size_t Count) { FSize = Count < FSize ? Count : FSize; }

private:
    std::unique_ptr<char[]> FBuffer;
    std::size_t FSize = 0;
};

// The whole content of the file at Path, as bytes or as a string.
TFileBytes ReadFileBytes(const std::string& Path);
std::string ReadWholeFile(const std::string& Path);

// Copies From to a new file To and flushes it to disk; fails when To exists.
void CopyFileDurably(const std::string& From, const std::string& To);

} // namespace q7n::platform
