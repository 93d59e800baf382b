#include "app/ConfiguratorProgram.h"

#include "service/ServicePaths.h"

namespace q7n::app {

std::unique_ptr<TServiceConfigurator>
CreateServiceConfigurator(IServiceConfigDlgInterface* Dlg, IPortsEditFlow* PortsEdit,
                          platform::IServiceControlManager& Platform, IMonotonicClock& Clock,
                          std::unique_ptr<ITimer> Timer) {
    return std::make_unique<TServiceConfigurator>(ServiceName,
                                                  ServiceFilesInCurrentDirectoryOrRaise(), Dlg,
                                                  PortsEdit, Platform, Clock, std::move(Timer));
}

TConfiguratorProgram::TConfiguratorProgram(IPortsEditDialogs& Dialogs,
                                           platform::IRegistry* Registry)
    : FRegistry(Registry ? *Registry : platform::DefaultRegistry()),
      FOptions(CreateServiceOptions(nullptr, FRegistry)), FPortsEdit(Dialogs, *FOptions) {}

TConfiguratorProgram::~TConfiguratorProgram() = default;

TMainWindowParts TConfiguratorProgram::MainWindowParts(platform::IServiceControlManager* Platform) {
    TServiceFiles Files = ServiceFilesInCurrentDirectoryOrRaise();
    if (!Platform) {
        FOwnServices = platform::CreateHostServiceControlManager();
        Platform = FOwnServices.get();
    }
    FNetwork = platform::CreateHostNetworkState();
    FDoctor = std::make_unique<TMachineDoctor>(ServiceName, Files.ServicePath, *Platform, FRegistry,
                                               *FNetwork);
    FPortsEdit.SetMachineCheck(FDoctor.get());
    TMainWindowParts Parts;
    Parts.Platform = Platform;
    Parts.PortsEdit = &FPortsEdit;
    Parts.Files = std::move(Files);
    Parts.OnEndSession = [this] {
        FOptions->DataContainer->Save();
    };
    return Parts;
}

} // namespace q7n::app
