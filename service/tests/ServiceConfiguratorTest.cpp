#include "service/ServiceConfigurator.h"

#include "service/testsupport/FakeServiceControlManager.h"
#include "service/testsupport/ManualTiming.h"

#include <gtest/gtest.h>
#include <vector>

using namespace q7n;
using q7n::testing::TFakeClock;
using q7n::testing::TManualTimer;
using Calls = std::vector<std::string>;

namespace {

class TRecordingWindow final : public IServiceConfigDlgInterface {
public:
    explicit TRecordingWindow(const TManualTimer& Timer) : FTimer(Timer) {}
    void ServiceStateChanged(TServiceState State) override {
        ++Notifications;
        LastState = State;
        TimerOffDuringTick = TimerOffDuringTick && !FTimer.Enabled();
    }
    int Notifications = 0;
    int LastState = -1;
    bool TimerOffDuringTick = true;

private:
    const TManualTimer& FTimer;
};

class ServiceConfiguratorTest : public ::testing::Test {
protected:
    ServiceConfiguratorTest() {
        auto Timer = std::make_unique<TManualTimer>();
        FTimer = Timer.get();
        FWindow = std::make_unique<TRecordingWindow>(*FTimer);
        FConfigurator = std::make_unique<TServiceConfigurator>(
            "Q7NSrv", TServiceFiles{"/srv/Install/Q7NService.exe", "/srv/Q7NPorts.xml"},
            FWindow.get(), nullptr, FPlatform, FClock, std::move(Timer));
    }

    void Start() {
        FConfigurator->Start();
        FPlatform.TakeCalls();
    }

    // Advances the clock by one interval and fires the timer, as the message loop would.
    void Tick(std::int64_t Milliseconds = 100) {
        FClock.Now += Milliseconds;
        ASSERT_TRUE(FTimer->Enabled());
        FTimer->Handler();
    }

    // The calls of one tick without the open and close around each operation.
    Calls TickCalls(std::int64_t Milliseconds = 100) {
        Tick(Milliseconds);
        Calls Taken = FPlatform.TakeCalls();
        std::erase_if(Taken, [](const std::string& Call) {
            return Call.rfind("OpenService", 0) == 0 || Call == "CloseHandle";
        });
        return Taken;
    }

    // Ticks times a tick, by default those of a restart's wait up to exactly 2000 ms after its
    // stop: each either polls or does nothing. Answers the number of polls.
    int PollsDuringTheWait(int Ticks = 20) {
        int Polls = 0;
        for (int I = 0; I < Ticks; ++I) {
            Calls Tick = TickCalls();
            EXPECT_TRUE(Tick.empty() || Tick == Calls{"QueryState"}) << "tick " << I;
            Polls += !Tick.empty();
        }
        return Polls;
    }

    q7n::testing::TFakeServiceControlManager FPlatform;
    TFakeClock FClock;
    TManualTimer* FTimer = nullptr;
    std::unique_ptr<TRecordingWindow> FWindow;
    std::unique_ptr<TServiceConfigurator> FConfigurator;
};

} // namespace

TEST_F(ServiceConfiguratorTest, StartConnectsAndRunsTheTimer) {
    EXPECT_FALSE(FTimer->Enabled());
    EXPECT_EQ(FTimer->Interval, 100);
    FConfigurator->Start();
    EXPECT_EQ(FPlatform.Calls, Calls{"OpenManager"});
    EXPECT_TRUE(FTimer->Enabled());
}

TEST_F(ServiceConfiguratorTest, FirstPollComesMoreThan500msAfterCreation) {
    FPlatform.States["Q7NSrv"] = 4;
    Start();
    for (int I = 0; I < 5; ++I)
        EXPECT_EQ(TickCalls(), Calls{}) << "tick " << I; // 100 .. 500 ms: exactly 500 is not more
    EXPECT_EQ(FWindow->Notifications, 0);
    EXPECT_EQ(TickCalls(1), Calls{"QueryState"});
    EXPECT_EQ(FWindow->Notifications, 1);
    EXPECT_EQ(FConfigurator->State(), 4);
    EXPECT_EQ(FWindow->LastState, 4); // told with the notice
    EXPECT_TRUE(FWindow->TimerOffDuringTick);
    EXPECT_TRUE(FTimer->Enabled());

    // Then every 500 to 600 ms, with a notification even when nothing changed.
    for (int I = 0; I < 5; ++I)
        EXPECT_EQ(TickCalls(), Calls{});
    EXPECT_EQ(TickCalls(), Calls{"QueryState"});
    EXPECT_EQ(FWindow->Notifications, 2);
}

TEST_F(ServiceConfiguratorTest, OneCommandPerTickInPriorityOrderWithoutPolling) {
    Start();
    FClock.Now += 1000; // a poll is due, but commands come first
    FConfigurator->RequestStart();
    FConfigurator->RequestStart();
    FConfigurator->RequestStop();
    FConfigurator->RequestInstall();
    FConfigurator->RequestUninstall();
    EXPECT_EQ(TickCalls(), Calls{"CreateService Q7NSrv /srv/Install/Q7NService.exe"});
    EXPECT_EQ(TickCalls(), (Calls{"ControlStop", "ControlStop", "DeleteService"}));
    FPlatform.States["Q7NSrv"] = 1;
    EXPECT_EQ(TickCalls(), Calls{"StartService"}); // pressed twice, sent once
    EXPECT_EQ(TickCalls(), Calls{"ControlStop"});
    EXPECT_EQ(FWindow->Notifications, 0);
    EXPECT_EQ(TickCalls(), Calls{"QueryState"}); // the first idle tick polls
    EXPECT_EQ(FConfigurator->State(), 3);
}

TEST_F(ServiceConfiguratorTest, RestartWaitsMoreThan2000msThenStartsTheStoppedService) {
    FPlatform.States["Q7NSrv"] = 4;
    Start();
    FConfigurator->RequestRestart();
    EXPECT_EQ(TickCalls(), Calls{"ControlStop"});
    EXPECT_EQ(FConfigurator->RestartStage(), TRestartStage::rsWaitingToStart);
    FPlatform.States["Q7NSrv"] = 1; // it stops quickly

    // Requests made during the wait stay pending.
    FConfigurator->RequestStop();
    EXPECT_EQ(PollsDuringTheWait(), 3);
    EXPECT_EQ(TickCalls(1), Calls{"StartService"}); // 2001 ms: the polls saw it stopped
    EXPECT_EQ(FConfigurator->RestartStage(), TRestartStage::rsIdle);
    EXPECT_EQ(TickCalls(), Calls{"ControlStop"}); // the stop pressed meanwhile
}

TEST_F(ServiceConfiguratorTest, RestartOfASlowStoppingServiceWaitsForTheStopAtTheUsualPollPace) {
    FPlatform.States["Q7NSrv"] = 4;
    Start();
    FConfigurator->RequestRestart();
    TickCalls(); // the stop; the service stays in stop pending
    // 5 s of it, with a poll every 600 ms, as when idle.
    EXPECT_EQ(PollsDuringTheWait(50), 8);
    FPlatform.States["Q7NSrv"] = 1;
    EXPECT_EQ(TickCalls(), Calls{});
    EXPECT_EQ(TickCalls(), Calls{});
    EXPECT_EQ(TickCalls(), Calls{"QueryState"}); // sees it stopped
    EXPECT_EQ(TickCalls(), Calls{"StartService"});
    EXPECT_EQ(FPlatform.States["Q7NSrv"], 2u);

    // A service that never stops gets its start after 30 s all the same.
    FConfigurator->RequestRestart();
    FPlatform.States["Q7NSrv"] = 4;
    TickCalls();
    Calls Last;
    int Ticks = 0;
    int Polls = 0;
    while ((Last = TickCalls()) != Calls{"StartService"} && Ticks < 1000) {
        ++Ticks;
        Polls += Last == Calls{"QueryState"};
    }
    EXPECT_EQ(Ticks, 300);
    EXPECT_EQ(Polls, 50);
}

TEST_F(ServiceConfiguratorTest, ARefusedStopLeavesOnlyTheWaitBeforeTheStart) {
    FPlatform.States["Q7NSrv"] = 4;
    FPlatform.ControlStopError = platform::ErrorServiceCannotAcceptCtrl;
    Start();
    FConfigurator->RequestRestart();
    EXPECT_EQ(TickCalls(), Calls{"ControlStop"}); // refused: the service goes on running
    FConfigurator->RequestInstall();
    EXPECT_EQ(PollsDuringTheWait(), 3);
    EXPECT_EQ(TickCalls(1), Calls{"StartService"}); // fails, and is not retried
    EXPECT_EQ(FConfigurator->RestartStage(), TRestartStage::rsIdle);
    EXPECT_EQ(TickCalls(), Calls{"CreateService Q7NSrv /srv/Install/Q7NService.exe"});
}

TEST_F(ServiceConfiguratorTest, RestartDuringTheWaitRestartsAgainAfterward) {
    FPlatform.States["Q7NSrv"] = 1;
    Start();
    FConfigurator->RequestRestart();
    EXPECT_EQ(TickCalls(), Calls{"ControlStop"}); // fails: not running; the restart goes on
    FConfigurator->RequestRestart();
    for (int I = 0; I < 20; ++I)
        TickCalls();
    EXPECT_EQ(TickCalls(), Calls{"StartService"});
    EXPECT_EQ(TickCalls(), Calls{"ControlStop"}); // the second restart
    EXPECT_EQ(FConfigurator->RestartStage(), TRestartStage::rsWaitingToStart);
}

TEST_F(ServiceConfiguratorTest, WithoutRightsEveryPollShowsUnknown) {
    FPlatform.OpenManagerError = platform::ErrorAccessDenied;
    FPlatform.States["Q7NSrv"] = 4;
    Start();
    FConfigurator->RequestStart();
    TickCalls();
    EXPECT_EQ(FPlatform.States["Q7NSrv"], 4u);
    TickCalls(1000);
    EXPECT_EQ(FConfigurator->State(), 0);
    EXPECT_EQ(FWindow->Notifications, 1);
    EXPECT_EQ(FWindow->LastState, 0);
}
