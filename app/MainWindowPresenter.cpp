#include "app/MainWindowPresenter.h"

#include "service/ServicePaths.h"

namespace q7n::app {

TMainWindowPresenter::~TMainWindowPresenter() = default;

void TMainWindowPresenter::FormCreate(TMainWindowParts Parts, std::unique_ptr<ITimer> Timer) {
    platform::IServiceControlManager* Platform = Parts.Platform;
    if (!Platform) {
        FOwnPlatform = platform::CreateHostServiceControlManager();
        Platform = FOwnPlatform.get();
    }
    const TServiceFiles Files =
        Parts.Files ? *Parts.Files : ServiceFilesInCurrentDirectoryOrRaise();
    OnEndSession = std::move(Parts.OnEndSession);
    FConfigurator = std::make_unique<TServiceConfigurator>(
        ServiceName, Files, this, Parts.PortsEdit, *Platform,
        Parts.Clock ? *Parts.Clock : FSteadyClock, std::move(Timer));
    FConfigurator->Start();
}

void TMainWindowPresenter::FormDestroy() {
    FConfigurator.reset();
}

void TMainWindowPresenter::btnEditClick() {
    if (FEditRunning)
        return;
    struct TRunning {
        bool& Running;
        ~TRunning() { Running = false; }
    } Running{FEditRunning = true}; // cleared however the edit ends
    FConfigurator->EditPorts();
}

void TMainWindowPresenter::ServiceStateChanged(TServiceState State) {
    FStateLook = ServiceStateLook(State);
    FView.ShowServiceState();
}

void TMainWindowPresenter::Press(TMainCommand Command) {
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
