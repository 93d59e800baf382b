#pragma once

#include <string>
#include <string_view>

// Conversions between our UTF-8 text and the UTF-16 of the Windows wide entry points.
namespace q7n::platform {

// Raises std::system_error (ERROR_NO_UNICODE_TRANSLATION) for text that is not valid UTF-8.
std::wstring Utf8ToWide(std::string_view Text);
// For the screen: bytes that are not UTF-8 become U+FFFD instead of failing on every paint.
std::wstring Utf8ToWideReplacing(std::string_view Text);
// Unpaired surrogates become U+FFFD.
std::string WideToUtf8(std::wstring_view Text);

} // namespace q7n::platform
