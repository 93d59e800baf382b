#include "windowing/win32/DialogTemplate.h"

namespace q7n::win32 {

namespace {

void PutDword(std::vector<WORD>& Words, DWORD Value) {
    Words.push_back(LOWORD(Value));
    Words.push_back(HIWORD(Value));
}

void PutText(std::vector<WORD>& Words, const wchar_t* Text) {
    do
        Words.push_back(WORD(*Text));
    while (*Text++);
}

} // namespace

TDialogTemplate::TDialogTemplate(DWORD Style, DWORD ExtendedStyle) {
    PutDword(FWords, Style | DS_SETFONT);
    PutDword(FWords, ExtendedStyle);
    FWords.insert(FWords.end(), {0, 0, 0, 0, 0}); // no items; x, y, cx, cy (set in code)
    FWords.insert(FWords.end(), {0, 0});          // no menu, the dialog class
    PutText(FWords, L"");                         // the title is set in code
    FWords.push_back(8);
    PutText(FWords, L"MS Shell Dlg");
}

} // namespace q7n::win32
