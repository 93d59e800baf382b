#pragma once

#include "app/MainWindowPresenter.h"
#include "platform/NetworkState.h"
#include "platform/Registry.h"
#include "service/MachineDoctor.h"
#include "service/PortsEditDialogs.h"
#include "service/PortsEditFlow.h"
#include "settings/ServiceOptions.h"

#include <memory>
#include <utility>

namespace q7n::app {

// The configurator of the service "Q7NSrv" with its program and ports file below the process's
// current folder, as a program without a main window makes it: Dlg hears of the polls, PortsEdit
// is what its edit runs (either may be null). Raises q7n::Exception when the folder cannot be
// read.
std::unique_ptr<TServiceConfigurator>
CreateServiceConfigurator(IServiceConfigDlgInterface* Dlg, IPortsEditFlow* PortsEdit,
                          platform::IServiceControlManager& Platform, IMonotonicClock& Clock,
                          std::unique_ptr<ITimer> Timer);

// The configurator program, whatever draws its windows: the settings module, the ports edit and
// the main window, which makes the configurator. They go in the reverse order: the window first,
// then the edit, then the settings module, which writes what is still unsaved. When the session
// ends without that order, the window writes the settings.
class TConfiguratorProgram final {
public:
    // The settings module over Registry (this build's registry when null), loaded now, and the
    // ports edit in Dialogs, which must outlive the program.
    explicit TConfiguratorProgram(IPortsEditDialogs& Dialogs,
                                  platform::IRegistry* Registry = nullptr);
    TConfiguratorProgram(const TConfiguratorProgram&) = delete;
    TConfiguratorProgram& operator=(const TConfiguratorProgram&) = delete;
    ~TConfiguratorProgram();

    // Makes the main window, a TWindow over Platform (the host's service manager when null), the
    // ports edit, the service files below the current folder and Rest; raises what its creation
    // raises, and std::system_error when the folder cannot be read. The list editor's marks look
    // at the machine through the same service manager.
    template <class TWindow, class... TRest>
    TWindow& CreateMainWindow(platform::IServiceControlManager* Platform, TRest&&... Rest) {
        auto Window =
            std::make_unique<TWindow>(MainWindowParts(Platform), std::forward<TRest>(Rest)...);
        TWindow& Made = *Window;
        FMainWindow = std::move(Window);
        return Made;
    }

    TdmServiceOptions& Options() const { return *FOptions; }

private:
    // What the main window drives: the service files, worked out here once, and the service
    // manager (the host's when Platform is null, made here), at which the doctor of the list
    // editor's marks looks too.
    TMainWindowParts MainWindowParts(platform::IServiceControlManager* Platform);

    platform::IRegistry& FRegistry;
    std::unique_ptr<TdmServiceOptions> FOptions;
    std::unique_ptr<platform::IServiceControlManager> FOwnServices;
    std::unique_ptr<platform::INetworkState> FNetwork;
    std::unique_ptr<TMachineDoctor> FDoctor;
    TPortsEditFlow FPortsEdit;
    std::unique_ptr<IMainWindowView> FMainWindow;
};

} // namespace q7n::app
