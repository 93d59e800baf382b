#pragma once

#include "app/Action.h"
#include "app/MainWindowLayout.h"
#include "app/ServiceStateLook.h"
#include "base/Clock.h"
#include "base/Timer.h"
#include "platform/ServiceControlManager.h"
#include "service/ServiceConfigDlgInterface.h"
#include "service/ServiceConfigurator.h"

#include <array>
#include <functional>
#include <memory>

namespace q7n::app {

// The main window's behaviour and state, whatever draws it: its creation handler makes and starts
// the configurator; the three service buttons run the commands actStart, actStop and actReboot,
// the others their handlers; every poll becomes the state label's caption and colour, which the
// window keeps. A frontend derives from it, creates the controls, draws ShowServiceState and
// forwards its buttons' presses to Press. No handler looks at the service state: every press is
// accepted.
class TMainWindowLogic : public IServiceConfigDlgInterface {
public:
    TMainWindowLogic(const TMainWindowLogic&) = delete;
    TMainWindowLogic& operator=(const TMainWindowLogic&) = delete;
    virtual ~TMainWindowLogic();

    TServiceConfigurator* Configurator() const { return FConfigurator.get(); }

    // The commands of the service buttons (category "Service"), in the buttons' order.
    TAction actStart;
    TAction actStop;
    TAction actReboot;
    std::array<const TAction*, 3> Actions() const { return {&actStart, &actStop, &actReboot}; }

    // Keeps the state's caption and colour and has the label drawn again.
    void ServiceStateChanged(TServiceState State) final;
    // What the state label shows: "-" in green until the first poll.
    const TServiceStateLook& StateLook() const { return FStateLook; }
    TColor StateColor() const { return FStateLook.Color; }

    // A button's press: a service button's through its command.
    void Press(TMainCommand Command);

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

    // Run when the session ends: the process is then ended without unwinding, so what must not
    // be lost (the settings not yet written) is written here.
    std::function<void()> OnEndSession;

protected:
    TMainWindowLogic();

    // Platform is the service manager to drive (the host's when null); PortsEdit the ports edit
    // that the edit button runs (none: the button does nothing). The paths are those below the
    // process's current folder at this moment; raises when that folder cannot be read.
    void FormCreate(platform::IServiceControlManager* Platform, std::unique_ptr<ITimer> Timer,
                    IPortsEditFlow* PortsEdit);
    // Frees the configurator: its manager connection, then its timer.
    void FormDestroy();

    // Draws the state label as StateLook says.
    virtual void ShowServiceState() = 0;

private:
    std::unique_ptr<platform::IServiceControlManager> FOwnPlatform;
    TSteadyClock FClock;
    std::unique_ptr<TServiceConfigurator> FConfigurator;
    int FEditsRunning = 0;
    TServiceStateLook FStateLook{InitialStateCaption, InitialStateColor};
};

} // namespace q7n::app
