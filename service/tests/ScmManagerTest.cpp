#include "service/ScmManager.h"

#include "service/testsupport/FakeServiceControlManager.h"

#include <gtest/gtest.h>

using namespace q7n;
using Calls = std::vector<std::string>;

TEST(ScmManager, EachOperationOpensActsAndCloses) {
    q7n::testing::TFakeServiceControlManager Platform;
    TScmManager Scm(nullptr, Platform);
    EXPECT_FALSE(Scm.Active());
    ASSERT_TRUE(Scm.Open());
    Platform.TakeCalls();

    EXPECT_TRUE(Scm.InstallService("Q7NSrv", "/opt/q7n/Install/Q7NService.exe"));
    EXPECT_EQ(Platform.TakeCalls(),
              (Calls{"CreateService Q7NSrv /opt/q7n/Install/Q7NService.exe", "CloseHandle"}));
    EXPECT_FALSE(Scm.InstallService("Q7NSrv", "x")); // exists

    EXPECT_TRUE(Scm.StartService("Q7NSrv"));
    EXPECT_FALSE(Scm.StartService("Q7NSrv")); // already running
    TServiceState State = 9;
    EXPECT_TRUE(Scm.GetServiceState("Q7NSrv", State));
    EXPECT_EQ(State, 2);
    Platform.TakeCalls();

    // Uninstall sends the stop and asks for the deletion straight after.
    EXPECT_TRUE(Scm.UninstallService("Q7NSrv"));
    EXPECT_EQ(Platform.TakeCalls(),
              (Calls{"OpenService Q7NSrv", "ControlStop", "DeleteService", "CloseHandle"}));
    EXPECT_FALSE(Scm.UninstallService("Q7NSrv"));
    EXPECT_FALSE(Scm.StopService("Q7NSrv"));
    EXPECT_FALSE(Scm.GetServiceState("Q7NSrv", State));
    EXPECT_EQ(State, 0);
    EXPECT_EQ(Platform.OpenHandles, 1); // only the manager's own

    // Full access every time: SC_MANAGER_ALL_ACCESS for the manager, SERVICE_ALL_ACCESS for the
    // service, registered or opened.
    EXPECT_EQ(Platform.ManagerAccess, 0xF003Fu);
    EXPECT_EQ(Platform.ServiceAccess, std::vector<std::uint32_t>(9, 0xF01FFu));
}

TEST(ScmManager, PathWithBlanksIsRegisteredQuoted) {
    q7n::testing::TFakeServiceControlManager Platform;
    TScmManager Scm(nullptr, Platform);
    ASSERT_TRUE(Scm.Open());
    EXPECT_TRUE(Scm.InstallService("Q7NSrv", "C:\\Program Files\\Q7N\\Install\\Q7NService.exe"));
    EXPECT_EQ(Platform.Paths["Q7NSrv"], "\"C:\\Program Files\\Q7N\\Install\\Q7NService.exe\"");
}

TEST(ScmManager, WithoutAConnectionEverythingFails) {
    q7n::testing::TFakeServiceControlManager Platform;
    Platform.OpenManagerError = platform::ErrorAccessDenied;
    Platform.States["Q7NSrv"] = 4;
    TScmManager Scm(nullptr, Platform);
    EXPECT_FALSE(Scm.Open());
    EXPECT_FALSE(Scm.Active());
    TServiceState State = 4;
    EXPECT_FALSE(Scm.GetServiceState("Q7NSrv", State));
    EXPECT_EQ(State, 0);
    EXPECT_FALSE(Scm.InstallService("Other", "x"));
    EXPECT_FALSE(Scm.StopService("Q7NSrv"));

    // Setting Active to its current value makes no platform call.
    Platform.TakeCalls();
    Scm.SetActive(false);
    EXPECT_TRUE(Platform.Calls.empty());
    Platform.OpenManagerError = 0;
    Scm.SetActive(true);
    EXPECT_TRUE(Scm.Active());
    Scm.SetActive(false);
    EXPECT_FALSE(Scm.Active());
    EXPECT_EQ(Platform.OpenHandles, 0);
}

TEST(ScmManager, ClosesItsConnectionWhenItGoes) {
    q7n::testing::TFakeServiceControlManager Platform;
    {
        TScmManager Scm(nullptr, Platform);
        ASSERT_TRUE(Scm.Open());
        ASSERT_TRUE(Scm.Open()); // opening again replaces the connection, it does not leak it
        EXPECT_EQ(Platform.OpenHandles, 1);
    }
    EXPECT_EQ(Platform.OpenHandles, 0);
}

TEST(ScmManager, ARefusedOpenKeepsTheConnectionItHeld) {
    q7n::testing::TFakeServiceControlManager Platform;
    Platform.States["Q7NSrv"] = 4;
    TScmManager Scm(nullptr, Platform);
    ASSERT_TRUE(Scm.Open());
    Platform.OpenManagerError = platform::ErrorAccessDenied;
    EXPECT_FALSE(Scm.Open());
    EXPECT_TRUE(Scm.Active());
    EXPECT_EQ(Platform.OpenHandles, 1);
    EXPECT_TRUE(Scm.StopService("Q7NSrv")); // through the connection it kept
}
