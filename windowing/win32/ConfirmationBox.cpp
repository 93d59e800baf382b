#include "windowing/win32/ConfirmationBox.h"

#include "windowing/win32/MessageDialog.h"

namespace q7n::win32 {

TConfirmAnswer ShowConfirmationBox(std::string_view Text, HWND Owner) {
    TMessageDialog Box(
        std::string(ConfirmationTitle), std::string(Text), IDI_QUESTION,
        {{IDYES, std::string(ConfirmationYesCaption)}, {IDNO, std::string(ConfirmationNoCaption)}},
        IDNO);
    return Box.Show(Owner) == IDYES ? TConfirmAnswer::caYes : TConfirmAnswer::caNo;
}

} // namespace q7n::win32
