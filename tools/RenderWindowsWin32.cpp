// Shows the Win32 main window, the two port dialogs and the two boxes one after the other, for
// pictures of them: for
// each it prints "NAME LEFT TOP WIDTH HEIGHT" (the frame on the screen) and keeps it open for a
// few seconds, in which scripts/render-windows.sh grabs that part of the display. With a DPI (the
// one the prefix's LogPixels gives) it shows the main window and the port editor only, named
// NAME-DPI.
//   q7n_render_windows_win32 [DPI]
#include "app/win32/ServiceConfiguratorDialog.h"
#include "dialogs/PortDialogLook.h"
#include "dialogs/win32/PortDialogIds.h"
#include "dialogs/win32/Q7NPortDialog.h"
#include "dialogs/win32/Q7NPortsDialog.h"
#include "platform/win32/Win32Text.h"
#include "tools/PicturedPorts.h"
#include "windowing/ApplicationIdentity.h"
#include "windowing/win32/ConfirmationBox.h"
#include "windowing/win32/ErrorBox.h"
#include "windowing/win32/MessageLoop.h"
#include "windowing/win32/MessageTimer.h"

#include <commctrl.h>
#include <cstdio>
#include <exception>
#include <functional>
#include <string>
#include <utility>

namespace {

constexpr int ShownFor = 2500; // milliseconds

void Announce(HWND Window, const char* Name) {
    RECT Frame{};
    GetWindowRect(Window, &Frame);
    std::printf("%s %ld %ld %ld %ld\n", Name, Frame.left, Frame.top, Frame.right - Frame.left,
                Frame.bottom - Frame.top);
    std::fflush(stdout);
    q7n::win32::PumpMessagesFor(ShownFor);
}

// Announces the dialog or box titled Title once it is open, Prepare done first, then closes it.
class TWindowCloser {
public:
    TWindowCloser(const std::string& Title, const char* Name,
                  std::function<void(HWND)> Prepare = nullptr)
        : FTitle(q7n::platform::Utf8ToWide(Title)), FName(Name), FPrepare(std::move(Prepare)) {
        FTimer.SetInterval(100);
        FTimer.SetHandler([this] {
            if (HWND Box = FindWindowW(L"#32770", FTitle.c_str())) {
                FTimer.SetEnabled(false);
                if (FPrepare)
                    FPrepare(Box);
                Announce(Box, FName);
                PostMessageW(Box, WM_CLOSE, 0, 0);
            }
        });
        FTimer.SetEnabled(true);
    }

private:
    q7n::win32::TMessageTimer FTimer;
    std::wstring FTitle;
    const char* FName;
    std::function<void(HWND)> FPrepare;
};

// Selects the pictured row, so that the line under the table tells its findings.
void SelectPicturedRow(HWND Dialog) {
    HWND Table = GetDlgItem(Dialog, IDC_LVPORTS);
    SetFocus(Table);
    ListView_SetItemState(Table, q7n::PicturedSelectedRow, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
}

} // namespace

int main(int Argc, char** Argv) try {
    const std::string Dpi = Argc > 1 ? std::string("-") + Argv[1] : "";
    auto Named = [&Dpi](const char* Name) {
        return std::string(Name) + Dpi;
    };
    INITCOMMONCONTROLSEX Controls{sizeof Controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&Controls);
    q7n::win32::TdlgServiceConfigurator Window;
    ShowWindow(Window.Handle(), SW_SHOW);
    q7n::win32::PumpMessagesFor(1500); // the first poll shows the service's state
    Announce(Window.Handle(), Named("main-window-win32").c_str());
    auto Ports = q7n::PicturedPorts();
    if (Dpi.empty()) {
        TWindowCloser Closer(q7n::PortListCaption, "port-list-editor-win32", SelectPicturedRow);
        q7n::win32::TdlgQ7NPorts().Execute(Ports.get(), Window.Handle());
    }
    {
        const std::string Name = Named("port-editor-win32");
        TWindowCloser Closer(q7n::PortEditorCaption, Name.c_str());
        q7n::win32::TdlgQ7NPort().Execute(Ports->Items(1), Window.Handle());
    }
    if (!Dpi.empty())
        return 0;
    {
        TWindowCloser Closer(std::string(q7n::ConfirmationTitle), "confirmation-box-win32");
        q7n::win32::ShowConfirmationBox("Перезапустить сервис?", Window.Handle());
    }
    {
        TWindowCloser Closer(std::string(q7n::ApplicationTitle), "error-box-win32");
        q7n::win32::ShowErrorBox("'80a' is not a valid integer value", Window.Handle());
    }
    return 0;
} catch (const std::exception& Error) {
    std::fprintf(stderr, "q7n_render_windows_win32: %s\n", Error.what());
    return 1;
}
