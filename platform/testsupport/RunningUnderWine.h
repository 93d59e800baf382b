#pragma once

#ifdef _WIN32
#include <windows.h>
#endif

namespace q7n::testing {

// Wine's own ntdll exports its version; Windows' does not.
inline bool RunningUnderWine() {
#ifdef _WIN32
    const HMODULE Ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return Ntdll && ::GetProcAddress(Ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

} // namespace q7n::testing
