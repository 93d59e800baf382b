#include "app/ConfiguratorProgram.h"

#include "base/Exceptions.h"
#include "service/ServicePaths.h"

namespace q7n::app {

namespace {

// The service's files below the current folder; raises when it cannot be read, for the window
// that cannot be made without them.
TServiceFiles ServiceFilesOrRaise() {
    TStatusOr<TServiceFiles> Files = ServiceFilesInCurrentDirectory();
    if (!Files.Ok())
        throw Exception(Files.Status().Text());
    return std::move(Files).Value();
}

} // namespace

std::unique_ptr<TServiceConfigurator>
CreateServiceConfigurator(IServiceConfigDlgInterface* Dlg, IPortsEditFlow* PortsEdit,
                          platform::IServiceControlManager& Platform, IMonotonicClock& Clock,
                          std::unique_ptr<ITimer> Timer) {
    return std::make_unique<TServiceConfigurator>(ServiceName, ServiceFilesOrRaise(), Dlg,
                                                  PortsEdit, Platform, Clock, std::move(Timer));
}

TConfiguratorProgram::TConfiguratorProgram(platform::IRegistry* Registry)
    : FRegistry(Registry ? *Registry : platform::DefaultRegistry()),
      FOptions(CreateServiceOptions(nullptr, FRegistry)), FPortsEdit(FDialogs, *FOptions) {}

TConfiguratorProgram::~TConfiguratorProgram() = default;

platform::IServiceControlManager*
TConfiguratorProgram::LookAtTheMachineThrough(platform::IServiceControlManager* Platform) {
    if (!Platform) {
        FOwnServices = platform::CreateHostServiceControlManager();
        Platform = FOwnServices.get();
    }
    FNetwork = platform::CreateHostNetworkState();
    FDoctor = std::make_unique<TMachineDoctor>(ServiceName, ServiceFilesOrRaise().ServicePath,
                                               *Platform, FRegistry, *FNetwork);
    FPortsEdit.SetMachineCheck(FDoctor.get());
    return Platform;
}

void TConfiguratorProgram::Adopt(std::unique_ptr<TMainWindowLogic> Window) {
    FMainWindow = std::move(Window);
    FMainWindow->OnEndSession = [this] {
        FOptions->DataContainer->Save();
    };
}

// Without its windows (none are made before the main window) the edit cannot open any.
bool TConfiguratorProgram::TDialogsRelay::ExecutePortList(TQ7NPorts& Ports,
                                                          IMachineCheck* Machine) {
    return FTarget && FTarget->ExecutePortList(Ports, Machine);
}

bool TConfiguratorProgram::TDialogsRelay::Confirm(const std::string& Text) {
    return FTarget && FTarget->Confirm(Text);
}

bool TConfiguratorProgram::TDialogsRelay::ConfirmOverwrite(const std::string& Text) {
    return FTarget && FTarget->ConfirmOverwrite(Text);
}

void TConfiguratorProgram::TDialogsRelay::Warn(const std::string& Text) {
    if (FTarget)
        FTarget->Warn(Text);
}

} // namespace q7n::app
