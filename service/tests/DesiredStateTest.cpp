#include "service/DesiredState.h"

#include <gtest/gtest.h>
#include <string>

using namespace q7n;

namespace {

constexpr TServiceFacts Missing{false, false, 0};
constexpr TServiceFacts Deleting{true, true, 3};

TServiceFacts In(TServiceState State) {
    return {true, false, State};
}

} // namespace

TEST(DesiredState, WordsRoundTripAndOthersAreNone) {
    for (TDesiredState Desired : {dsInstalled, dsRunning, dsStopped, dsAbsent})
        EXPECT_EQ(DesiredStateFromText(DesiredStateText(Desired)), Desired);
    EXPECT_FALSE(DesiredStateFromText("Running"));
    EXPECT_FALSE(DesiredStateFromText(""));
    EXPECT_FALSE(DesiredStateFromText("present"));
}

TEST(DesiredState, OnlyWhatIsMissingIsDone) {
    // installed: any state of a registered service holds; one marked for deletion is going.
    EXPECT_EQ(EnsureAction(dsInstalled, Missing), eaInstall);
    EXPECT_EQ(EnsureAction(dsInstalled, In(1)), eaNone);
    EXPECT_EQ(EnsureAction(dsInstalled, In(4)), eaNone);
    EXPECT_EQ(EnsureAction(dsInstalled, Deleting), eaInstall);
    EXPECT_EQ(EnsureAction(dsAbsent, In(4)), eaUninstall);
    EXPECT_EQ(EnsureAction(dsAbsent, In(0)), eaUninstall);
    EXPECT_EQ(EnsureAction(dsAbsent, Missing), eaNone);
    EXPECT_EQ(EnsureAction(dsAbsent, Deleting), eaNone);
}

TEST(DesiredState, RunningAndStoppedNeedAnInstalledService) {
    for (TDesiredState Desired : {dsRunning, dsStopped}) {
        EXPECT_EQ(EnsureAction(Desired, Missing), eaRefuse);
        EXPECT_EQ(EnsureAction(Desired, Deleting), eaRefuse);
    }
    // A start or stop under way holds; a paused or stopping service is started.
    EXPECT_EQ(EnsureAction(dsRunning, In(1)), eaStart);
    EXPECT_EQ(EnsureAction(dsRunning, In(2)), eaNone);
    EXPECT_EQ(EnsureAction(dsRunning, In(3)), eaStart);
    EXPECT_EQ(EnsureAction(dsRunning, In(4)), eaNone);
    EXPECT_EQ(EnsureAction(dsRunning, In(7)), eaStart);
    EXPECT_EQ(EnsureAction(dsStopped, In(1)), eaNone);
    EXPECT_EQ(EnsureAction(dsStopped, In(2)), eaStop);
    EXPECT_EQ(EnsureAction(dsStopped, In(3)), eaNone);
    EXPECT_EQ(EnsureAction(dsStopped, In(4)), eaStop);
}
