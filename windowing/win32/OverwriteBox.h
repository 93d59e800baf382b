#pragma once

#include "windowing/OverwriteBoxContract.h"

#include <windows.h>

#include <string_view>

namespace q7n::win32 {

// Asks Text (UTF-8) as OverwriteBoxContract.h promises; modal over Owner when given. True only
// for the overwrite button.
bool ShowOverwriteBox(std::string_view Text, HWND Owner = nullptr);

} // namespace q7n::win32
