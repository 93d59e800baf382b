#include "app/MainWindowLogic.h"

#include "app/ConfiguratorProgram.h"

namespace q7n::app {

namespace {

constexpr std::string_view ActionCategory = "Service";

} // namespace

TMainWindowLogic::TMainWindowLogic()
    : actStart("actStart", "Start", ActionCategory, [this] { actStartExecute(); }),
      actStop("actStop", "Stop", ActionCategory, [this] { actStopExecute(); }),
      actReboot("actReboot", "Restart", ActionCategory, [this] { actRebootExecute(); }) {}

TMainWindowLogic::~TMainWindowLogic() = default;

void TMainWindowLogic::FormCreate(platform::IServiceControlManager* Platform,
                                  std::unique_ptr<ITimer> Timer, IPortsEditFlow* PortsEdit) {
    if (!Platform) {
        FOwnPlatform = platform::CreateHostServiceControlManager();
        Platform = FOwnPlatform.get();
    }
    FConfigurator = CreateServiceConfigurator(this, PortsEdit, *Platform, FClock, std::move(Timer));
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

void TMainWindowLogic::ServiceStateChanged(TServiceState State) {
    FStateLook = ServiceStateLook(State);
    ShowServiceState();
}

void TMainWindowLogic::Press(TMainCommand Command) {
    switch (Command) {
    case TMainCommand::mcStart:
        actStart.Execute();
        break;
    case TMainCommand::mcStop:
        actStop.Execute();
        break;
    case TMainCommand::mcRestart:
        actReboot.Execute();
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
