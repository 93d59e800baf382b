#pragma once

#include <string_view>

namespace q7n {

// What every box that asks before overwriting another program's change promises, whatever draws
// it: the question under the application title, with a warning icon, and two buttons. Keeping
// the file is the default, and also what Escape and closing the box answer, so that no reflex
// overwrites a change someone else saved on purpose. Only the overwrite button is consent.
inline constexpr std::string_view OverwriteCaption = "&Перезаписать";
inline constexpr std::string_view KeepFileCaption = "&Оставить файл";

// The buttons from left to right, whatever order the desktop gives its own boxes' buttons.
struct TOverwriteButton {
    bool Overwrites;
    std::string_view Caption;
};
inline constexpr TOverwriteButton OverwriteButtons[] = {{true, OverwriteCaption},
                                                        {false, KeepFileCaption}};

} // namespace q7n
