#pragma once

#include "windowing/ConfirmationBoxContract.h"

#include <windows.h>

#include <string_view>

namespace q7n::win32 {

// Asks Text (UTF-8) as ConfirmationBoxContract.h promises; modal over Owner when given.
TConfirmAnswer ShowConfirmationBox(std::string_view Text, HWND Owner = nullptr);

} // namespace q7n::win32
