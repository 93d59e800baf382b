#pragma once

#include "app/MainWindowLayout.h"
#include "platform/ServiceControlManager.h"
#include "service/Clock.h"
#include "service/ServiceConfigDlgInterface.h"
#include "service/ServiceConfigurator.h"
#include "service/Timer.h"

#include <memory>
#include <string_view>

namespace q7n {
class IPortsEditFlow;
}

namespace q7n::app {

// The main window's behaviour, whatever draws it: its creation handler makes, configures and
// starts the configurator; the buttons' handlers raise its requests; every poll becomes the state
// label's caption and colour. A frontend derives from it, draws ShowServiceState and forwards its
// buttons' presses to Execute. No handler looks at the service state: every press is accepted.
class TMainWindowLogic : public IServiceConfigDlgInterface {
public:
    TMainWindowLogic(const TMainWindowLogic&) = delete;
    TMainWindowLogic& operator=(const TMainWindowLogic&) = delete;

    TServiceConfigurator* Configurator() const { return FConfigurator.get(); }

    // Reads the configurator's state and shows its caption in its colour.
    void ServiceStateChanged() final;
    // A button's press.
    void Execute(TMainCommand Command);

    void actStartExecute() { FConfigurator->RequestStart(); }
    void actStopExecute() { FConfigurator->RequestStop(); }
    void actRebootExecute() { FConfigurator->RequestRestart(); }
    void Button5Click() { FConfigurator->RequestInstall(); }
    void btn1Click() { FConfigurator->RequestUninstall(); }
    // The ports edit flow; modal, it returns when the editing is over.
    void btnEditClick();
    // Whether the window may close (or the session end) now: not while the ports edit runs, as
    // its dialogs and boxes work on the configurator that closing would free, and its edit is
    // not saved yet. A frontend that is refused brings the open dialog or box to the front.
    bool CloseQuery() const { return FEditsRunning == 0; }

protected:
    TMainWindowLogic() = default;
    ~TMainWindowLogic();

    // Platform is the service manager to drive (the host's when null); PortsEdit the ports edit
    // that the edit button runs (none: the button does nothing). The paths are those below the
    // process's current folder at this moment; raises when that folder cannot be read.
    void FormCreate(platform::IServiceControlManager* Platform, std::unique_ptr<ITimer> Timer,
                    IPortsEditFlow* PortsEdit);
    // Frees the configurator: its manager connection, then its timer.
    void FormDestroy();

    virtual void ShowServiceState(std::string_view Caption, TColor Color) = 0;

private:
    std::unique_ptr<platform::IServiceControlManager> FOwnPlatform;
    TSteadyClock FClock;
    std::unique_ptr<TServiceConfigurator> FConfigurator;
    int FEditsRunning = 0;
};

} // namespace q7n::app
