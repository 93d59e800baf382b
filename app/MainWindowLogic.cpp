#include "app/MainWindowLogic.h"

#include "service/ServicePaths.h"

namespace q7n::app {

TMainWindowLogic::~TMainWindowLogic() = default;

void TMainWindowLogic::FormCreate(platform::IServiceControlManager* Platform,
                                  std::unique_ptr<ITimer> Timer, IPortsEditFlow* PortsEdit) {
    if (!Platform) {
        FOwnPlatform = platform::CreateHostServiceControlManager();
        Platform = FOwnPlatform.get();
    }
    FConfigurator = std::make_unique<TServiceConfigurator>(*Platform, FClock, std::move(Timer));
    FConfigurator->FServiceName = ServiceName;
    TServiceFiles Files = ServiceFilesInCurrentDirectory();
    FConfigurator->FServicePath = Files.ServicePath;
    FConfigurator->FPortsFile = Files.PortsFile;
    FConfigurator->FDlg = this;
    FConfigurator->FPortsEdit = PortsEdit;
    FConfigurator->Start();
}

void TMainWindowLogic::FormDestroy() {
    FConfigurator.reset();
}

void TMainWindowLogic::btnEditClick() {
    struct TRunning {
        int& Count;
        ~TRunning() { --Count; }
    } Running{++FEditsRunning}; // counted off however the edit ends
    FConfigurator->EditPorts();
}

void TMainWindowLogic::ServiceStateChanged() {
    TServiceState State = FConfigurator->State();
    if (State >= ServiceStateCount)
        State = 0;
    ShowServiceState(ServiceStateCaptions[State], ServiceStateColors[State]);
}

void TMainWindowLogic::Execute(TMainCommand Command) {
    switch (Command) {
    case TMainCommand::mcStart:
        actStartExecute();
        break;
    case TMainCommand::mcStop:
        actStopExecute();
        break;
    case TMainCommand::mcRestart:
        actRebootExecute();
        break;
    case TMainCommand::mcInstall:
        Button5Click();
        break;
    case TMainCommand::mcUninstall:
        btn1Click();
        break;
    case TMainCommand::mcEditPorts:
        btnEditClick();
        break;
    case TMainCommand::mcNone:
        break;
    }
}

} // namespace q7n::app
