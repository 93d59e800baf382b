#pragma once

#include <string>
#include <string_view>

namespace q7n {

// The text that the error box shows for Message (UTF-8): a full stop is added when the last
// character sorts after "." (a letter or a digit does, a closing parenthesis or a full stop does
// not). Every byte of a multi-byte UTF-8 character sorts after ".", as the character does.
std::string ErrorBoxText(std::string_view Message);

// The error box's one button.
inline constexpr std::string_view ErrorBoxOkCaption = "OK";

} // namespace q7n
