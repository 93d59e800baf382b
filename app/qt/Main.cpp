// The configurator: the settings module, then the main window, until the window is closed.
#include "app/Version.h"
#include "app/qt/FontFallbacks.h"
#include "app/qt/PortsEditWindows.h"
#include "app/qt/ServiceConfiguratorDialog.h"
#include "service/PortsEditFlow.h"
#include "settings/ServiceOptions.h"
#include "windowing/qt/ApplicationTitle.h"

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
    q7n::TPortsEditFlow PortsEdit(Dialogs, *Options);
    int Result = 1; // the window could not be created; the error box has said why
    if (std::unique_ptr<q7n::qt::TdlgServiceConfigurator> Window =
            q7n::qt::CreateMainWindow(nullptr, &PortsEdit)) {
        Dialogs.SetParent(Window.get());
        Window->show();
        Result = QApplication::exec();
    } // the window goes first, then the settings module, which writes what is still unsaved
    Options.reset();
    return Result;
}
