// The configurator: the program as ConfiguratorProgram.h puts it together, with native windows
// and the application window that carries it on the task bar, until the main window is closed.
#include "app/ConfiguratorProgram.h"
#include "app/win32/ApplicationWindow.h"
#include "app/win32/ServiceConfiguratorDialog.h"
#include "dialogs/win32/PortsEditWindows.h"
#include "windowing/win32/ErrorBox.h"
#include "windowing/win32/MessageLoop.h"

#include <commctrl.h>
#include <exception>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX Controls{sizeof Controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&Controls);
    try {
        q7n::win32::TApplicationWindow Application;
        q7n::win32::TPortsEditWindows Dialogs; // modal over the main window once it exists
        q7n::app::TConfiguratorProgram Program(Dialogs);
        auto& Window = Program.CreateMainWindow<q7n::win32::TdlgServiceConfigurator>(
            nullptr, Application.Handle());
        Application.SetMainWindow(Window.Handle());
        Dialogs.SetParent(Window.Handle());
        ShowWindow(Window.Handle(), SW_SHOW);
        return q7n::win32::RunMessageLoop(Window.Handle());
    } catch (const std::exception& Error) {
        q7n::win32::ShowErrorBox(Error.what());
        return 1;
    }
}
