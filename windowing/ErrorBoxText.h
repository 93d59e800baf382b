#pragma once

#include <string>
#include <string_view>

namespace q7n {

// The text that the error box shows for Message (UTF-8): a full stop is added when the last
// character sorts after "." (a letter or a digit does, a closing parenthesis or a full stop does
// not). Every byte of a multi-byte UTF-8 character sorts after ".", as the character does.
std::string ErrorBoxText(std::string_view Message);

// The one button of the error box, and of the warning box that has nothing to ask.
inline constexpr std::string_view ErrorBoxOkCaption = "OK";

// The error box sounds the system's error sound as it opens, as a box with an error icon does on
// Windows.
inline constexpr bool ErrorBoxBeeps = true;

} // namespace q7n
