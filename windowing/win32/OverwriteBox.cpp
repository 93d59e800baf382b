#include "windowing/win32/OverwriteBox.h"

#include "windowing/ApplicationIdentity.h"
#include "windowing/win32/MessageDialog.h"

namespace q7n::win32 {

bool ShowOverwriteBox(std::string_view Text, HWND Owner) {
    std::vector<TMessageDialog::TButton> Buttons;
    for (const TOverwriteButton& Button : OverwriteButtons)
        Buttons.push_back({Button.Overwrites ? IDYES : IDNO, std::string(Button.Caption)});
    TMessageDialog Box(std::string(ApplicationTitle), std::string(Text), IDI_WARNING,
                       std::move(Buttons), IDNO, IDNO);
    return Box.Show(Owner) == IDYES;
}

} // namespace q7n::win32
