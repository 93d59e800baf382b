#pragma once

#include <windows.h>

#include <string>
#include <system_error>

namespace q7n::platform {

// The category of Win32 error codes, whose texts are the system's own from FormatMessageW, in
// UTF-8 (the standard library's system category asks FormatMessageA, which answers in the ANSI
// code page).
const std::error_category& Win32Category();

// Raises std::system_error for Error with What, then the system's text.
[[noreturn]] void ThrowWin32Error(const std::string& What, DWORD Error = ::GetLastError());

} // namespace q7n::platform
