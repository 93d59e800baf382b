#include "base/UniqueHandle.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// Records every handle it closes, in order.
struct TRecordingTraits {
    using THandle = int;
    static int Invalid() { return -1; }
    void Close(int Handle) const { Closed->push_back(Handle); }
    std::vector<int>* Closed = nullptr;
};
using TRecordedHandle = q7n::TUniqueHandle<TRecordingTraits>;

TEST(UniqueHandle, ClosesEachHandleExactlyOnceAcrossMovesResetsAndOutParameters) {
    std::vector<int> Closed;
    {
        TRecordedHandle First(0, TRecordingTraits{&Closed});
        TRecordedHandle Second(std::move(First));
        // A moved-from handle is empty: that is what is checked.
        EXPECT_FALSE(First); // NOLINT(bugprone-use-after-move)
        EXPECT_EQ(Second.Get(), 0);

        TRecordedHandle Third(7, TRecordingTraits{&Closed});
        Third = std::move(Second); // closes 7, takes 0
        EXPECT_EQ(Closed, std::vector<int>{7});

        *Third.Address() = 3; // closes 0 before the new handle is written
        EXPECT_EQ(Closed, (std::vector<int>{7, 0}));

        int Released = Third.Release();
        EXPECT_EQ(Released, 3);
        Third.Reset(4);
    } // closes 4 only: 3 was released
    EXPECT_EQ(Closed, (std::vector<int>{7, 0, 4}));
}

} // namespace
