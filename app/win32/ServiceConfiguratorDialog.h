#pragma once

#include "app/MainWindowPresenter.h"
#include "windowing/CaptionFit.h"
#include "windowing/DpiScale.h"
#include "windowing/win32/Dialog.h"
#include "windowing/win32/GdiHandles.h"

#include <array>
#include <string_view>

namespace q7n::win32 {

// The main window in Win32: the shared look (MainWindowLayout.h) and behaviour
// (MainWindowPresenter.h) as a modeless dialog whose controls are laid out in pixels from the
// table. A fixed-size tool window; closing it destroys it and ends the message loop. While the
// ports edit runs it neither closes (the close brings the edit's window to the front) nor lets the
// session end.
class TdlgServiceConfigurator final : public TDialog, public app::IMainWindowView {
public:
    // Parts are what the presenter drives (by default the host's service manager, no ports edit).
    // Owner, when given, is the application window that carries the program on the task bar.
    explicit TdlgServiceConfigurator(app::TMainWindowParts Parts = app::TMainWindowParts(),
                                     HWND Owner = nullptr);
    ~TdlgServiceConfigurator() override;

    app::TMainWindowPresenter& Presenter() { return FPresenter; }
    const app::TMainWindowPresenter& Presenter() const { return FPresenter; }

    // The control of that name in the shared table (Label1, Button1, ...), or null.
    TWindow Control(std::string_view Name) const;
    // How the state label sets its caption to fit before the "Старт" button.
    const TCaptionFit& StateFit() const { return FStateFit; }
    // The DPI the window is laid out for.
    int Dpi() const { return FDpi; }

protected:
    bool OnInit() override;
    bool OnCommand(int Code, int Id, HWND Control) override;
    void OnOK() override {}     // Enter on the window itself asks nothing
    void OnCancel() override {} // nor does Escape
    void OnClose() override;
    void OnDestroy() override;
    bool OnMessage(UINT Message, WPARAM W, LPARAM L, INT_PTR& Result) override;
    void ShowServiceState() override;
    // Moved to a monitor of another DPI: laid out anew.
    void OnDpiChanged(int Dpi) override {
        FDpi = Dpi;
        Arrange();
    }

private:
    void CreateControls();
    // Sizes the window, its fonts, pictures and controls for FDpi.
    void Arrange();
    // The window's own drawing, one handler a message: the labels' colours, the question and the
    // news of a session end, the owner-drawn state label and pictures, the rules.
    HBRUSH OnLabelColour(HDC Context, HWND Label);
    void OnQueryEndSession();
    void OnSessionEnding(bool Ends);
    bool OnDrawItem(const DRAWITEMSTRUCT& Item);
    void Paint();
    // Fits the state label's caption into its room and sizes the label to it.
    void FitStateCaption();
    HFONT FontFor(const app::TFontLook& Look) const;

    std::array<TFontHandle, 3> FFonts; // default, heading, state
    TIconHandle FGears;
    TIconHandle FComputerTools;
    TCaptionFit FStateFit;
    int FDpi = DefaultDpi;
    app::TMainWindowPresenter FPresenter{*this};
};

} // namespace q7n::win32
