#include "platform/win32/Win32Text.h"

#include <windows.h>

#include <system_error>

namespace q7n::platform {

std::wstring Utf8ToWide(std::string_view Text) {
    if (Text.empty())
        return {};
    int Size = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, Text.data(),
                                     static_cast<int>(Text.size()), nullptr, 0);
    if (Size <= 0)
        throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(),
                                "Text is not valid UTF-8");
    std::wstring Wide(static_cast<std::size_t>(Size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, Text.data(), static_cast<int>(Text.size()),
                          Wide.data(), Size);
    return Wide;
}

std::wstring Utf8ToWideReplacing(std::string_view Text) {
    if (Text.empty())
        return {};
    const int Size =
        ::MultiByteToWideChar(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), nullptr, 0);
    std::wstring Wide(static_cast<std::size_t>(Size > 0 ? Size : 0), L'\0');
    if (Size > 0)
        ::MultiByteToWideChar(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), Wide.data(),
                              Size);
    return Wide;
}

std::string WideToUtf8(std::wstring_view Text) {
    if (Text.empty())
        return {};
    int Size = ::WideCharToMultiByte(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()),
                                     nullptr, 0, nullptr, nullptr);
    std::string Narrow(static_cast<std::size_t>(Size > 0 ? Size : 0), '\0');
    if (Size > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), Narrow.data(),
                              Size, nullptr, nullptr);
    return Narrow;
}

} // namespace q7n::platform
