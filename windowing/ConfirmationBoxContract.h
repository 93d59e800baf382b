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

// The buttons from left to right, whatever order the desktop gives its own boxes' buttons.
struct TConfirmButton {
    TConfirmAnswer Answer;
    std::string_view Caption;
};
inline constexpr TConfirmButton ConfirmationButtons[] = {
    {TConfirmAnswer::caYes, ConfirmationYesCaption}, {TConfirmAnswer::caNo, ConfirmationNoCaption}};

} // namespace q7n
