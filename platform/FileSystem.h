#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

// The whole content of the file at Path.
std::string ReadWholeFile(const std::string& Path);

// Copies From to a new file To and flushes it to disk; fails when To exists.
void CopyFileDurably(const std::string& From, const std::string& To);

} // namespace q7n::platform
