#include "platform/CurrentDirectory.h"
#include "platform/ErrorBarrier.h"
#include "platform/SizedRead.h"
#include "platform/win32/Win32Text.h"

#include <windows.h>

namespace q7n::platform {

TStatusOr<std::string> CurrentDirectory() {
    // The wide entry point: the ANSI one turns every character outside the code page into "?",
    // and the encoding of std::filesystem's narrow strings differs between C++ libraries.
    std::vector<wchar_t> Buffer;
    std::uint32_t Error = ErrorBarrier([&] {
        return ReadSized(Buffer, [](wchar_t* Data, std::size_t Capacity) -> TSizedAnswer {
            DWORD Length = ::GetCurrentDirectoryW(static_cast<DWORD>(Capacity), Data);
            if (Length == 0) {
                DWORD Failure = ::GetLastError();
                return {Failure ? Failure : ErrorGenFailure, 0};
            }
            // Too small (or changed to a longer folder meanwhile): the length it needs, with
            // the terminating null.
            if (Length >= Capacity)
                return {ErrorInsufficientBuffer, Length};
            return {ErrorSuccess, Length};
        });
    });
    if (Error != ErrorSuccess)
        return TStatus(Error, "Cannot read the current folder: " + SystemErrorText(Error));
    return WideToUtf8(std::wstring_view(Buffer.data(), Buffer.size()));
}

} // namespace q7n::platform
