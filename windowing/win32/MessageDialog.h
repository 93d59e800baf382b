#pragma once

#include "windowing/win32/Dialog.h"
#include "windowing/win32/GdiHandles.h"

#include <string>
#include <vector>

namespace q7n::win32 {

// A message box of our own: an icon, a text and a row of buttons, sized to its text and wide
// enough for its title, centred on the screen. Unlike the system's MessageBox it decides what
// Escape answers, and it shows "&" in the text as it stands.
class TMessageDialog final : public TModalDialog {
public:
    struct TButton {
        int Id;
        std::string Caption; // UTF-8, "&" marks the access key
    };

    // Icon is a system icon (IDI_QUESTION, IDI_ERROR, ...). DefaultId is the default button, the
    // first one when 0; Escape and the close button answer EscapeId. Buttons are as wide as
    // their captions need.
    TMessageDialog(std::string Title, std::string Text, LPCWSTR Icon, std::vector<TButton> Buttons,
                   int EscapeId, int DefaultId = 0);
    ~TMessageDialog() override;

    // Shows the box modally over Parent (may be null) and answers the id of the button pressed.
    int Show(HWND Parent);

protected:
    bool OnInit() override;
    bool OnCommand(int Code, int Id, HWND Control) override;
    void OnCancel() override { End(FEscapeId); }
    bool EscapeCloses() const override { return true; }
    void OnDpiChanged(int Dpi) override {
        FDpi = Dpi;
        Arrange();
    }

private:
    // Sizes the box, its font, icon and controls for FDpi.
    void Arrange();

    std::string FTitle;
    std::string FText;
    LPCWSTR FIcon;
    std::vector<TButton> FButtons;
    int FEscapeId;
    int FDefaultId;
    int FDpi = 96;
    TFontHandle FFont;
    TIconHandle FIconImage;
};

} // namespace q7n::win32
