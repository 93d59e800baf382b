#include "service/ServiceConfigurator.h"

namespace q7n {

TServiceConfigurator::TServiceConfigurator(std::string ServiceName, const TServiceFiles& Files,
                                           IServiceConfigDlgInterface* Dlg,
                                           IPortsEditFlow* PortsEdit,
                                           platform::IServiceControlManager& Platform,
                                           IMonotonicClock& Clock, std::unique_ptr<ITimer> Timer)
    : FClock(Clock), FDlg(Dlg), FScm(std::make_unique<TScmManager>(nullptr, Platform)),
      FServiceName(std::move(ServiceName)), FServicePath(Files.ServicePath),
      FPortsFile(Files.PortsFile), FPortsEdit(PortsEdit), FTimer(std::move(Timer)),
      FLastRefreshAt(Clock.NowMilliseconds()) {
    FTimer->SetEnabled(false);
    FTimer->SetInterval(TimerInterval);
    FTimer->SetHandler([this] { TimerFired(); });
}

TServiceConfigurator::~TServiceConfigurator() {
    FScm.reset();
    FTimer->SetEnabled(false);
    FTimerOn = false;
    FTimer.reset();
}

void TServiceConfigurator::Start() {
    static_cast<void>(FScm->Open()); // without a connection every poll shows "Неизвестно"
    FTimer->SetEnabled(true);
    FTimerOn = true;
}

void TServiceConfigurator::EditPorts() {
    if (FPortsEdit && FPortsEdit->Run(FPortsFile, [this] { return FState; }))
        RequestRestart();
}

void TServiceConfigurator::TimerFired() {
    FTimer->SetEnabled(false);
    ProcessTick();
    FTimer->SetEnabled(FTimerOn);
}

bool TServiceConfigurator::MoreThan(std::int64_t Since, std::int64_t Milliseconds) {
    std::int64_t Elapsed = FClock.NowMilliseconds() - Since;
    return (Elapsed < 0 ? -Elapsed : Elapsed) > Milliseconds;
}

void TServiceConfigurator::ProcessTick() {
    if (FRestartStage == TRestartStage::rsWaitingToStart) {
        ProcessRestartWait();
        return;
    }

    if (FInstallPending) {
        FInstallPending = false;
        DoInstall();
    } else if (FUninstallPending) {
        FUninstallPending = false;
        DoUninstall();
    } else if (FStartPending) {
        FStartPending = false;
        DoStart();
    } else if (FStopPending) {
        FStopPending = false;
        DoStop();
    } else if (FRestartPending) {
        FRestartPending = false;
        FStopAccepted = FScm->StopService(FServiceName);
        FStopIssuedAt = FClock.NowMilliseconds();
        FStopSeen = false;
        FRestartStage = TRestartStage::rsWaitingToStart;
    } else {
        PollIfDue();
    }
}

// A service that takes longer than the wait to stop would refuse the start and stay stopped,
// so the start waits for a poll that sees the service stopped (or gone). A refused stop leaves
// nothing to wait for: the start follows the wait alone. Each tick makes one platform call at
// most, and the polls keep their usual pace.
void TServiceConfigurator::ProcessRestartWait() {
    if (MoreThan(FStopIssuedAt, RestartWait) &&
        (!FStopAccepted || FStopSeen || MoreThan(FStopIssuedAt, RestartGiveUp))) {
        static_cast<void>(FScm->StartService(FServiceName));
        FRestartStage = TRestartStage::rsIdle;
        return;
    }
    if (PollIfDue())
        FStopSeen = FState == platform::ServiceStopped || FState == 0;
}

bool TServiceConfigurator::PollIfDue() {
    if (!MoreThan(FLastRefreshAt, PollInterval))
        return false;
    FLastRefreshAt = FClock.NowMilliseconds();
    RefreshState();
    return true;
}

void TServiceConfigurator::RefreshState() {
    if (!FScm->GetServiceState(FServiceName, FState))
        FState = 0;
    if (FDlg)
        FDlg->ServiceStateChanged(FState);
}

} // namespace q7n
