// The configurator: the program as ConfiguratorProgram.h puts it together, with Qt's windows, until
// the main window is closed.
#include "app/ConfiguratorProgram.h"
#include "app/Version.h"
#include "app/qt/FontFallbacks.h"
#include "app/qt/ServiceConfiguratorDialog.h"
#include "dialogs/qt/PortsEditWindows.h"
#include "windowing/qt/ApplicationTitle.h"

#include <QApplication>
#include <QIcon>

int main(int Argc, char** Argv) {
    QApplication Application(Argc, Argv);
    QApplication::setApplicationName(q7n::qt::ApplicationTitle());
    QApplication::setApplicationVersion(q7n::app::FileVersion);
    QApplication::setWindowIcon(QIcon(":/q7n/wrench.svg"));
    QGuiApplication::setDesktopFileName("q7nconfig");
    q7n::qt::InstallFontFallbacks();

    q7n::qt::TPortsEditWindows Dialogs; // modal over the main window once it exists
    q7n::app::TConfiguratorProgram Program(Dialogs);
    q7n::qt::TdlgServiceConfigurator* Window = q7n::qt::CreateMainWindow(Program);
    if (!Window)
        return 1; // the error box has said why
    Dialogs.SetParent(Window);
    Window->show();
    return QApplication::exec();
}
