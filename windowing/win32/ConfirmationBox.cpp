#include "windowing/win32/ConfirmationBox.h"

#include "windowing/win32/MessageDialog.h"

namespace q7n::win32 {

TConfirmAnswer ShowConfirmationBox(std::string_view Text, HWND Owner) {
    std::vector<TMessageDialog::TButton> Buttons;
    for (const TConfirmButton& Button : ConfirmationButtons)
        Buttons.push_back(
            {Button.Answer == TConfirmAnswer::caYes ? IDYES : IDNO, std::string(Button.Caption)});
    TMessageDialog Box(std::string(ConfirmationTitle), std::string(Text), IDI_QUESTION,
                       std::move(Buttons), IDNO);
    return Box.Show(Owner) == IDYES ? TConfirmAnswer::caYes : TConfirmAnswer::caNo;
}

} // namespace q7n::win32
