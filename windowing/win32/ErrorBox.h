#pragma once

#include <windows.h>

#include <string_view>

namespace q7n::win32 {

// Shows Message (UTF-8) as ErrorBoxText gives it, under the application title, with an error icon
// and an OK button, centred on the screen; modal over Owner when given.
void ShowErrorBox(std::string_view Message, HWND Owner = nullptr);

} // namespace q7n::win32
