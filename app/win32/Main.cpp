// The configurator: the application title, the settings module, then the main window, until the
// window is closed; the window goes first, then the settings module, which writes what is still
// unsaved. When the session ends the process is ended without that order, so the window writes
// the settings then.
#include "app/win32/ApplicationWindow.h"
#include "app/win32/ServiceConfiguratorDialog.h"
#include "dialogs/win32/PortsEditWindows.h"
#include "service/PortsEditFlow.h"
#include "settings/ServiceOptions.h"
#include "windowing/win32/ErrorBox.h"
#include "windowing/win32/MessageLoop.h"

#include <commctrl.h>
#include <exception>
#include <memory>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX Controls{sizeof Controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&Controls);
    try {
        q7n::win32::TApplicationWindow Application;
        std::unique_ptr<q7n::TdmServiceOptions> Options(q7n::CreateServiceOptions(nullptr));
        int Result = 0;
        {
            q7n::win32::TdlgServiceConfigurator Window(nullptr, nullptr, Application.Handle());
            Application.SetMainWindow(Window.Handle());
            // The port dialogs and boxes are modal over the main window.
            q7n::win32::TPortsEditWindows Dialogs(Window.Handle());
            q7n::TPortsEditFlow PortsEdit(Dialogs, *Options);
            Window.Configurator()->FPortsEdit = &PortsEdit;
            Window.OnEndSession = [&Options] {
                Options->DataContainer->Save();
            };
            ShowWindow(Window.Handle(), SW_SHOW);
            Result = q7n::win32::RunMessageLoop(Window.Handle());
        }
        Options.reset();
        return Result;
    } catch (const std::exception& Error) {
        q7n::win32::ShowErrorBox(Error.what());
        return 1;
    }
}
