#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Unicode text in standard C++: UTF-8 checks and conversions, and the letter case of names.
namespace q7n::platform {

// The code points of Text; nothing when it is not well-formed UTF-8 (overlong forms, surrogates,
// values above U+10FFFF and truncated sequences are refused).
std::optional<std::u32string> DecodeUtf8(std::string_view Text);
bool IsValidUtf8(std::string_view Text);

// Code points above U+FFFF become surrogate pairs; nothing for text that is not UTF-8.
std::optional<std::u16string> Utf8ToUtf16(std::string_view Text);

// Text with its lower-case letters made capitals, one code point for one, as Windows compares
// registry names: Latin (ASCII, Latin-1, Latin Extended-A), Greek and Cyrillic letters. Other
// characters, and bytes that are not UTF-8, are kept as they are.
std::string UpperCaseText(std::string_view Text);

// The path that UTF-8 Text names, for the standard library's files: a narrow string would be read
// in the ANSI code page on Windows. Raises std::system_error for text that is not UTF-8 there.
std::filesystem::path Utf8Path(std::string_view Text);

} // namespace q7n::platform
