#include "platform/CurrentDirectory.h"
#include "platform/win32/Win32Text.h"

#include <windows.h>

#include <system_error>

namespace q7n::platform {

std::string CurrentDirectory() {
    // The wide entry point: the ANSI one turns every character outside the code page into "?",
    // and the encoding of std::filesystem's narrow strings differs between C++ libraries.
    std::wstring Buffer;
    for (;;) {
        DWORD Needed = ::GetCurrentDirectoryW(0, nullptr); // with the terminating null
        if (Needed == 0)
            break;
        Buffer.resize(Needed);
        DWORD Length = ::GetCurrentDirectoryW(Needed, Buffer.data());
        if (Length == 0)
            break;
        if (Length < Needed) {
            Buffer.resize(Length);
            return WideToUtf8(Buffer);
        }
        // The directory changed to a longer one between the two calls: ask again.
    }
    throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(),
                            "Cannot read the current folder");
}

} // namespace q7n::platform
