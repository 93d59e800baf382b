#pragma once

#include "app/Action.h"
#include "app/MainWindowLayout.h"
#include "app/MainWindowView.h"
#include "app/ServiceStateLook.h"
#include "base/Clock.h"
#include "base/Timer.h"
#include "platform/ServiceControlManager.h"
#include "service/ServiceConfigDlgInterface.h"
#include "service/ServiceConfigurator.h"

#include <functional>
#include <memory>
#include <optional>

namespace q7n::app {

// What the main window drives, made before it.
struct TMainWindowParts {
    explicit TMainWindowParts(platform::IServiceControlManager* OverPlatform = nullptr,
                              IPortsEditFlow* Editing = nullptr)
        : Platform(OverPlatform), PortsEdit(Editing) {}

    platform::IServiceControlManager* Platform = nullptr; // the host's when null
    IPortsEditFlow* PortsEdit = nullptr;                  // none: the edit button does nothing
    // The service's program and ports file; none: those below the current folder at creation.
    std::optional<TServiceFiles> Files;
    IMonotonicClock* Clock = nullptr; // the system's steady clock when null
    // Run when the session ends (see TMainWindowPresenter::OnEndSession).
    std::function<void()> OnEndSession;
};

// The main window's behaviour and state, whatever draws it: its creation handler makes and starts
// the configurator; the three service buttons run the commands actStart, actStop and actReboot,
// the others their handlers; every poll becomes the state label's caption and colour, which the
// presenter keeps and its view draws. A frontend owns one, creates the controls and forwards its
// buttons' presses to Press. No handler looks at the service state: every press is accepted, but
// for a second press of the edit button while the edit runs.
class TMainWindowPresenter final : public IServiceConfigDlgInterface {
public:
    explicit TMainWindowPresenter(IMainWindowView& View) : FView(View) {}
    TMainWindowPresenter(const TMainWindowPresenter&) = delete;
    TMainWindowPresenter& operator=(const TMainWindowPresenter&) = delete;
    ~TMainWindowPresenter();

    // Makes and starts the configurator over Parts with Timer; raises when the current folder is
    // to be read and cannot be.
    void FormCreate(TMainWindowParts Parts, std::unique_ptr<ITimer> Timer);
    // Frees the configurator: its manager connection, then its timer.
    void FormDestroy();

    TServiceConfigurator* Configurator() const { return FConfigurator.get(); }

    // Keeps the state's caption and colour and has the label drawn again.
    void ServiceStateChanged(TServiceState State) override;
    // What the state label shows: "-" in green until the first poll.
    const TServiceStateLook& StateLook() const { return FStateLook; }
    TColor StateColor() const { return FStateLook.Color; }

    // A button's press, or the run of its command.
    void Press(TMainCommand Command);

    void actStartExecute() { FConfigurator->RequestStart(); }
    void actStopExecute() { FConfigurator->RequestStop(); }
    void actRebootExecute() { FConfigurator->RequestRestart(); }
    void Button5Click() { FConfigurator->RequestInstall(); }
    void btn1Click() { FConfigurator->RequestUninstall(); }
    // The ports edit flow; modal, it returns when the editing is over. A press while it runs
    // (from a message loop that it runs) does nothing.
    void btnEditClick();
    // Whether the window may close (or the session end) now: not while the ports edit runs, as
    // its dialogs and boxes work on the configurator that closing would free, and its edit is
    // not saved yet. A frontend that is refused brings the open dialog or box to the front.
    bool CloseQuery() const { return !FEditRunning; }

    // Run when the session ends: the process is then ended without unwinding, so what must not
    // be lost (the settings not yet written) is written here.
    std::function<void()> OnEndSession;

private:
    IMainWindowView& FView;
    std::unique_ptr<platform::IServiceControlManager> FOwnPlatform;
    TSteadyClock FSteadyClock;
    std::unique_ptr<TServiceConfigurator> FConfigurator;
    bool FEditRunning = false;
    TServiceStateLook FStateLook{InitialStateCaption, InitialStateColor};
};

} // namespace q7n::app
