#pragma once

#include "service/Clock.h"
#include "service/PortsEditFlowInterface.h"
#include "service/ScmManager.h"
#include "service/ServiceConfigDlgInterface.h"
#include "service/ServiceState.h"
#include "service/Timer.h"

#include <cstdint>
#include <memory>
#include <string>

namespace q7n {

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

    // Takes ownership of Timer; Platform and Clock must outlive the configurator.
    TServiceConfigurator(platform::IServiceControlManager& Platform, IMonotonicClock& Clock,
                         std::unique_ptr<ITimer> Timer);
    TServiceConfigurator(const TServiceConfigurator&) = delete;
    TServiceConfigurator& operator=(const TServiceConfigurator&) = delete;
    ~TServiceConfigurator();

    IServiceConfigDlgInterface* FDlg = nullptr; // not owned
    std::string FServiceName;
    std::string FServicePath;
    std::string FPortsFile;
    IPortsEditFlow* FPortsEdit = nullptr; // what EditPorts runs; not owned

    // Connects to the service manager (its result is not looked at) and starts the timer.
    void Start();

    // Runs the ports edit on FPortsFile and queues a restart when the user asked for one.
    void EditPorts();

    void RequestInstall() { FInstallPending = true; }
    void RequestUninstall() { FUninstallPending = true; }
    void RequestStart() { FStartPending = true; }
    void RequestStop() { FStopPending = true; }
    void RequestRestart() { FRestartPending = true; }

    // The last polled state, 0 to 7.
    TServiceState State() const { return FState; }
    int RestartStage() const { return FRestartStage; }
    // A request waits to be served or a restart is under way.
    bool Busy() const {
        return FInstallPending || FUninstallPending || FStartPending || FStopPending ||
               FRestartPending || FRestartStage != 0;
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

    void DoInstall() { FScm->InstallService(FServiceName, FServicePath); }
    void DoUninstall() {
        FScm->StopService(FServiceName);
        FScm->UninstallService(FServiceName);
    }
    void DoStart() { FScm->StartService(FServiceName); }
    void DoStop() { FScm->StopService(FServiceName); }

    IMonotonicClock& FClock;
    TServiceState FState = 0;
    std::unique_ptr<TScmManager> FScm;
    int FRestartStage = 0;
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
