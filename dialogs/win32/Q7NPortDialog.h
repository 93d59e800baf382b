#pragma once

#include "dialogs/PortEditor.h"
#include "windowing/win32/Dialog.h"
#include "windowing/win32/GdiHandles.h"

namespace q7n::win32 {

// The dialog that edits one port mapping on a private record, FPort, which it passes on only
// when the user closes it with OK.
class TdlgQ7NPort final : public TModalDialog {
public:
    // Edits a copy of Port, or of the default values when Port is none, modally over Parent, and
    // copies the result back into Port when the user closes the dialog with OK. True only for OK.
    bool Execute(TQ7NPort* Port, HWND Parent);
    // The working record; after an Execute that returned true, what the user confirmed.
    const TQ7NPort& Port() const { return FEditor.Port(); }
    // The DPI the dialog is laid out for.
    int Dpi() const { return FDpi; }

protected:
    bool OnInit() override;
    bool OnCommand(int Code, int Id, HWND Control) override;
    void OnOK() override {} // Enter presses no button
    void OnDpiChanged(int Dpi) override {
        FDpi = Dpi;
        Arrange();
    }

private:
    // Sizes the dialog, its font and its controls for FDpi.
    void Arrange();
    void FormCreate();
    void PortToControls();
    void btnOKClick();

    TPortEditor FEditor;
    int FDpi = 96;
    TFontHandle FFont;
};

} // namespace q7n::win32
