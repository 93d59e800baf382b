// The configurator: the settings module, then the main window, until the window is closed.
#include "ApplicationTitle.h"
#include "FontFallbacks.h"
#include "PortsEditWindows.h"
#include "ServiceConfiguratorDialog.h"
#include "ServiceOptions.h"
#include "Version.h"

#include <QApplication>
#include <QIcon>
#include <memory>

int main(int Argc, char** Argv) {
    QApplication Application(Argc, Argv);
    QApplication::setApplicationName(q7n::qt::ApplicationTitle());
    QApplication::setApplicationVersion(q7n::app::FileVersion);
    QApplication::setWindowIcon(QIcon(":/q7n/wrench.svg"));
    QGuiApplication::setDesktopFileName("q7nconfig");
    q7n::qt::InstallFontFallbacks();

    std::unique_ptr<q7n::TdmServiceOptions> Options(q7n::CreateServiceOptions(nullptr));
    q7n::qt::TPortsEditWindows Dialogs;
    int Result = 0;
    {
        q7n::qt::TdlgServiceConfigurator Window(nullptr, &Dialogs);
        Dialogs.SetParent(&Window);
        Window.show();
        Result = QApplication::exec();
    } // the window goes first, then the settings module, which writes what is still unsaved
    Options.reset();
    return Result;
}
