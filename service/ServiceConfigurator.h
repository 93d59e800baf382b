#pragma once

#include "base/Clock.h"
#include "base/Timer.h"
#include "service/PortsEditFlowInterface.h"
#include "service/ScmManager.h"
#include "service/ServiceConfigDlgInterface.h"
#include "service/ServicePaths.h"
#include "service/ServiceState.h"

#include <cstdint>
#include <memory>
#include <string>

namespace q7n {

// Where a restart stands: idle, or its stop sent and its start still to come.
enum class TRestartStage { rsIdle, rsWaitingToStart };

// The controller behind the main window. Button presses only raise one-shot requests; a 100 ms
// timer serves at most one of them per tick (install, uninstall, start, stop, restart, in that
// order) or, when none is pending, polls the service state every 500 ms and tells the window.
//
// A restart sends the stop and, more than 2000 ms later, the start. When the service accepted
// the stop, the start waits until a poll has seen it stopped (or gone), 30 s at most; the polls
// keep their usual pace meanwhile.
class TServiceConfigurator {
public:
    static constexpr int TimerInterval = 100;
    static constexpr std::int64_t PollInterval = 500;
    static constexpr std::int64_t RestartWait = 2000;
    static constexpr std::int64_t RestartGiveUp = 30000;

    // The service ServiceName, with its program and ports file as Files gives them; Dlg hears of
    // every poll and PortsEdit is what EditPorts runs (either may be null: nobody hears, the edit
    // does nothing). Takes ownership of Timer; the others must outlive the configurator.
    TServiceConfigurator(std::string ServiceName, const TServiceFiles& Files,
                         IServiceConfigDlgInterface* Dlg, IPortsEditFlow* PortsEdit,
                         platform::IServiceControlManager& Platform, IMonotonicClock& Clock,
                         std::unique_ptr<ITimer> Timer);
    TServiceConfigurator(const TServiceConfigurator&) = delete;
    TServiceConfigurator& operator=(const TServiceConfigurator&) = delete;
    ~TServiceConfigurator();

    // Connects to the service manager (its result is not looked at) and starts the timer.
    void Start();

    // Runs the ports edit on FPortsFile and queues a restart when the user asked for one.
    void EditPorts();

    void RequestInstall() { FInstallPending = true; }
    void RequestUninstall() { FUninstallPending = true; }
    void RequestStart() { FStartPending = true; }
    void RequestStop() { FStopPending = true; }
    void RequestRestart() { FRestartPending = true; }

    const std::string& ServiceName() const { return FServiceName; }
    const std::string& ServicePath() const { return FServicePath; }
    const std::string& PortsFile() const { return FPortsFile; }
    // The last polled state, 0 to 7.
    TServiceState State() const { return FState; }
    TRestartStage RestartStage() const { return FRestartStage; }
    // A request waits to be served or a restart is under way.
    bool Busy() const {
        return FInstallPending || FUninstallPending || FStartPending || FStopPending ||
               FRestartPending || FRestartStage != TRestartStage::rsIdle;
    }

    // The timer's handler: one tick with the timer off, so ticks never overlap or pile up.
    void TimerFired();

private:
    void ProcessTick();
    void ProcessRestartWait();
    // Polls when more than 500 ms have passed since the last poll; true when it did.
    bool PollIfDue();
    void RefreshState();
    bool MoreThan(std::int64_t Since, std::int64_t Milliseconds);

    // What the service manager answers is not looked at: the polls show what became of a request.
    void DoInstall() { static_cast<void>(FScm->InstallService(FServiceName, FServicePath)); }
    void DoUninstall() {
        static_cast<void>(FScm->StopService(FServiceName));
        static_cast<void>(FScm->UninstallService(FServiceName));
    }
    void DoStart() { static_cast<void>(FScm->StartService(FServiceName)); }
    void DoStop() { static_cast<void>(FScm->StopService(FServiceName)); }

    IMonotonicClock& FClock;
    IServiceConfigDlgInterface* FDlg; // not owned
    TServiceState FState = 0;
    std::unique_ptr<TScmManager> FScm;
    std::string FServiceName;
    std::string FServicePath;
    std::string FPortsFile;
    IPortsEditFlow* FPortsEdit; // not owned
    TRestartStage FRestartStage = TRestartStage::rsIdle;
    bool FInstallPending = false;
    bool FUninstallPending = false;
    bool FStartPending = false;
    bool FStopPending = false;
    bool FRestartPending = false;
    bool FStopAccepted = false; // the service took the restart's stop control
    bool FStopSeen = false;     // a poll since then found the service stopped or gone
    std::unique_ptr<ITimer> FTimer;
    bool FTimerOn = false;
    std::int64_t FStopIssuedAt = 0;
    std::int64_t FLastRefreshAt;
};

} // namespace q7n
