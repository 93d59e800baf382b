#pragma once

#include <string_view>

namespace q7n {

// What every confirmation box promises, whatever draws it: the question under this title, with a
// question icon, the buttons below (Yes the default, so Enter answers Yes; Escape and closing the
// box answer No), centred on the screen. Only Yes is consent.
enum class TConfirmAnswer { caYes, caNo };

inline constexpr std::string_view ConfirmationTitle = "Confirm";
inline constexpr std::string_view ConfirmationYesCaption = "&Yes";
inline constexpr std::string_view ConfirmationNoCaption = "&No";

} // namespace q7n
