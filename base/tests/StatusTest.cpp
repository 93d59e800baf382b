#include "base/StatusOr.h"

#include <gtest/gtest.h>
#include <memory>

using namespace q7n;

TEST(Status, SuccessIsCodeZeroWhateverItsText) {
    EXPECT_TRUE(TStatus().Ok());
    EXPECT_TRUE(TStatus::Success().Ok());
    EXPECT_TRUE(TStatus(0, "ignored").Ok());
    TStatus Denied(5, "Access is denied");
    EXPECT_FALSE(Denied.Ok());
    EXPECT_EQ(Denied.Code(), 5u);
    EXPECT_EQ(Denied.Text(), "Access is denied");
    EXPECT_EQ(Denied, TStatus(5, "other words"));
    EXPECT_FALSE(Denied == TStatus());
}

TEST(StatusOr, HoldsAValueOrTheFailure) {
    TStatusOr<std::unique_ptr<int>> Made = std::make_unique<int>(7);
    ASSERT_TRUE(Made.Ok());
    EXPECT_TRUE(Made.Status().Ok());
    EXPECT_EQ(**Made, 7);
    std::unique_ptr<int> Taken = std::move(Made).Value();
    EXPECT_EQ(*Taken, 7);

    TStatusOr<std::string> Failed = TStatus(1060, "The specified service does not exist");
    EXPECT_FALSE(Failed.Ok());
    EXPECT_EQ(Failed.Status().Code(), 1060u);
    EXPECT_EQ(Failed.ValueOr("none"), "none");
}
