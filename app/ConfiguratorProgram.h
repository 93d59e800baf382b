#pragma once

#include "app/MainWindowLogic.h"
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
// current folder, as every program of ours makes it: Dlg hears of the polls, PortsEdit is what
// its edit runs (either may be null). Raises q7n::Exception when the folder cannot be read.
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
    // The settings module over Registry (this build's registry when null), loaded now.
    explicit TConfiguratorProgram(platform::IRegistry* Registry = nullptr);
    TConfiguratorProgram(const TConfiguratorProgram&) = delete;
    TConfiguratorProgram& operator=(const TConfiguratorProgram&) = delete;
    ~TConfiguratorProgram();

    // Makes the main window, a TWindow over Platform (the host's service manager when null), the
    // ports edit and Rest; raises what its creation raises. The list editor's marks look at the
    // machine through the same service manager.
    template <class TWindow, class... TRest>
    TWindow& CreateMainWindow(platform::IServiceControlManager* Platform, TRest&&... Rest) {
        Platform = LookAtTheMachineThrough(Platform);
        auto Window =
            std::make_unique<TWindow>(Platform, &FPortsEdit, std::forward<TRest>(Rest)...);
        TWindow& Made = *Window;
        Adopt(std::move(Window));
        return Made;
    }

    // The windows of the ports edit, made once the main window they are modal over exists; they
    // stay until the message loop has ended.
    void SetPortsEditDialogs(IPortsEditDialogs& Dialogs) { FDialogs.FTarget = &Dialogs; }

    TdmServiceOptions& Options() const { return *FOptions; }

private:
    // Hands the edit's questions to the windows that the frontend made after the main window.
    class TDialogsRelay final : public IPortsEditDialogs {
    public:
        bool ExecutePortList(TQ7NPorts& Ports, IMachineCheck* Machine) override;
        bool Confirm(const std::string& Text) override;
        bool ConfirmOverwrite(const std::string& Text) override;
        void Warn(const std::string& Text) override;
        IPortsEditDialogs* FTarget = nullptr;
    };

    void Adopt(std::unique_ptr<TMainWindowLogic> Window);
    // Makes the doctor of the list editor's marks over Platform (the host's when null, made here)
    // and answers the service manager it uses.
    platform::IServiceControlManager*
    LookAtTheMachineThrough(platform::IServiceControlManager* Platform);

    platform::IRegistry& FRegistry;
    std::unique_ptr<TdmServiceOptions> FOptions;
    std::unique_ptr<platform::IServiceControlManager> FOwnServices;
    std::unique_ptr<platform::INetworkState> FNetwork;
    std::unique_ptr<TMachineDoctor> FDoctor;
    TDialogsRelay FDialogs;
    TPortsEditFlow FPortsEdit;
    std::unique_ptr<TMainWindowLogic> FMainWindow;
};

} // namespace q7n::app
