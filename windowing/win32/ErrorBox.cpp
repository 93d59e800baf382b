#include "windowing/win32/ErrorBox.h"

#include "windowing/ApplicationIdentity.h"
#include "windowing/ErrorBoxText.h"
#include "windowing/win32/Dialog.h"
#include "windowing/win32/MessageDialog.h"

namespace q7n::win32 {

void ShowErrorBox(std::string_view Message, HWND Owner) {
    if (ErrorBoxBeeps)
        MessageBeep(MB_ICONHAND);
    TMessageDialog Box(std::string(ApplicationTitle), ErrorBoxText(Message), IDI_ERROR,
                       {{IDOK, std::string(ErrorBoxOkCaption)}}, IDOK);
    Box.Show(Owner);
}

void (*TDialog::ReportError)(std::string_view Message, HWND Window) = ShowErrorBox;

} // namespace q7n::win32
