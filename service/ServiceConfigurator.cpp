#include "ServiceConfigurator.h"

namespace q7n {

namespace {

constexpr TServiceState StateStopped = 1;

} // namespace

TServiceConfigurator::TServiceConfigurator(platform::IServiceControlManager& Platform,
                                           IMonotonicClock& Clock, std::unique_ptr<ITimer> Timer)
    : FClock(Clock), FScm(std::make_unique<TScmManager>(nullptr, Platform)),
      FTimer(std::move(Timer)), FLastRefreshAt(Clock.NowMilliseconds()) {
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
    FScm->Open();
    FTimer->SetEnabled(true);
    FTimerOn = true;
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
    if (FRestartStage == 1) {
        ProcessRestartWait();
        return;
    }
    if (FRestartStage != 0)
        return;

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
        FScm->StopService(FServiceName);
        FStopIssuedAt = FClock.NowMilliseconds();
        FStopConfirmed = false;
        FRestartStage = 1;
    } else {
        PollIfDue();
    }
}

// A service that takes longer than the wait to stop would refuse the start and stay stopped,
// so after the wait each tick polls until the service is seen stopped (or gone), and the next
// tick sends the start. Each tick still makes one platform call at most.
void TServiceConfigurator::ProcessRestartWait() {
    if (FStopConfirmed || MoreThan(FStopIssuedAt, RestartGiveUp)) {
        FScm->StartService(FServiceName);
        FRestartStage = 0;
        return;
    }
    if (!MoreThan(FStopIssuedAt, RestartWait)) {
        PollIfDue();
        return;
    }
    FLastRefreshAt = FClock.NowMilliseconds();
    RefreshState();
    FStopConfirmed = FState == StateStopped || FState == 0;
}

void TServiceConfigurator::PollIfDue() {
    if (!MoreThan(FLastRefreshAt, PollInterval))
        return;
    FLastRefreshAt = FClock.NowMilliseconds();
    RefreshState();
}

void TServiceConfigurator::RefreshState() {
    if (!FScm->GetServiceState(FServiceName, FState))
        FState = 0;
    if (FDlg)
        FDlg->ServiceStateChanged();
}

} // namespace q7n
