#include "platform/SizedRead.h"

#include <gtest/gtest.h>
#include <string>

using namespace q7n::platform;

namespace {

// A system call over Text, which it may change between calls, answering as
// RegQueryValueExW does: the size it needs when the buffer is too small.
struct TGrowingText {
    std::string Text;
    std::string Grown; // what Text becomes after the first call that found the buffer too small
    std::uint32_t TooSmall = ErrorMoreData;
    int Calls = 0;

    TSizedAnswer operator()(char* Data, std::size_t Capacity) {
        ++Calls;
        if (Capacity < Text.size()) {
            TSizedAnswer Answer{TooSmall, Text.size()};
            if (!Grown.empty())
                Text = std::exchange(Grown, {});
            return Answer;
        }
        Text.copy(Data, Text.size());
        return {ErrorSuccess, Text.size()};
    }
};

std::string AsText(const std::vector<char>& Buffer) {
    return std::string(Buffer.begin(), Buffer.end());
}

} // namespace

TEST(ReadSized, AsksTheSizeThenAgainWhenTheDataGrewMeanwhile) {
    std::vector<char> Buffer{'o', 'l', 'd'};
    TGrowingText Call{"short", "a good deal longer", ErrorInsufficientBuffer};
    ASSERT_EQ(ReadSized(Buffer, Call), ErrorSuccess);
    EXPECT_EQ(AsText(Buffer), "a good deal longer");
    EXPECT_EQ(Call.Calls, 3); // the size, the short size that no longer held, the data

    // Empty data need no second call, and leave no buffer.
    TGrowingText Empty{"", ""};
    ASSERT_EQ(ReadSized(Buffer, Empty), ErrorSuccess);
    EXPECT_TRUE(Buffer.empty());
    EXPECT_EQ(Empty.Calls, 1);
}

TEST(ReadSized, FailuresEndTheLoopWithTheirCode) {
    std::vector<char> Buffer{'x'};
    int Calls = 0;
    auto Refusing = [&](char*, std::size_t) {
        ++Calls;
        return TSizedAnswer{ErrorAccessDenied, 10};
    };
    EXPECT_EQ(ReadSized(Buffer, Refusing), ErrorAccessDenied);
    EXPECT_EQ(Calls, 1);
    EXPECT_TRUE(Buffer.empty());

    // A call that never finds the buffer large enough, even one that needs no more than it had,
    // is given a larger buffer each time and asked a bounded number of times.
    std::vector<std::size_t> Offered;
    auto NeverEnough = [&](char*, std::size_t Capacity) {
        Offered.push_back(Capacity);
        return TSizedAnswer{ErrorMoreData, 2};
    };
    EXPECT_EQ(ReadSized(Buffer, NeverEnough, 4), ErrorMoreData);
    EXPECT_EQ(Offered, (std::vector<std::size_t>{0, 2, 3, 4}));
    EXPECT_TRUE(Buffer.empty());
}
