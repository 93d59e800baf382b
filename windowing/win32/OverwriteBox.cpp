#include "windowing/win32/OverwriteBox.h"

#include "windowing/ApplicationIdentity.h"
#include "windowing/win32/MessageDialog.h"

namespace q7n::win32 {

bool ShowOverwriteBox(std::string_view Text, HWND Owner) {
    TMessageDialog Box(
        std::string(ApplicationTitle), std::string(Text), IDI_WARNING,
        {{IDYES, std::string(OverwriteCaption)}, {IDNO, std::string(KeepFileCaption)}}, IDNO, IDNO);
    return Box.Show(Owner) == IDYES;
}

} // namespace q7n::win32
