#pragma once

#include <windows.h>

#include <vector>

namespace q7n::win32 {

// A dialog template in memory without controls, for windows whose controls are laid out in
// code (their size follows their text, or their places are given in pixels): the controls are
// made in OnInit. Font: "MS Shell Dlg" 8 pt, the system's dialog font.
class TDialogTemplate {
public:
    TDialogTemplate(DWORD Style, DWORD ExtendedStyle);
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(FWords.data()); }

private:
    std::vector<WORD> FWords; // a template is made of WORDs, aligned to a DWORD at its start
};

} // namespace q7n::win32
