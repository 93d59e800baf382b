#include "ports/PortListChange.h"

#include <gtest/gtest.h>

using namespace q7n;

namespace {

TPortValues Port(std::int32_t LocalPort) {
    return {"10.0.0.1", 8080, LocalPort, 1, 9600};
}

} // namespace

TEST(PortListChange, ComparesRowsByPlace) {
    const std::vector<TPortValues> List = {Port(1), Port(2), Port(3)};
    EXPECT_TRUE(PortListChanges(List, List).empty());

    // A new order is a change of each row that moved.
    auto Swapped = PortListChanges(List, {Port(2), Port(1), Port(3)});
    ASSERT_EQ(Swapped.size(), 2u);
    EXPECT_EQ(Swapped[0].Kind, pcChanged);
    EXPECT_EQ(Swapped[0].Row, 1);
    EXPECT_EQ(Swapped[0].Before, Port(1));
    EXPECT_EQ(Swapped[0].After, Port(2));
    EXPECT_EQ(Swapped[1].Row, 2);

    // Every value counts, the address included.
    TPortValues Other = Port(3);
    Other.IP = "10.0.0.2";
    EXPECT_EQ(PortListChanges(List, {Port(1), Port(2), Other}).size(), 1u);
}

TEST(PortListChange, RowsBeyondTheShorterListAreAddedOrRemoved) {
    auto Grown = PortListChanges({Port(1)}, {Port(9), Port(2), Port(3)});
    ASSERT_EQ(Grown.size(), 3u);
    EXPECT_EQ(Grown[0].Kind, pcChanged);
    EXPECT_EQ(Grown[1].Kind, pcAdded);
    EXPECT_EQ(Grown[1].Row, 2);
    EXPECT_FALSE(Grown[1].Before);
    EXPECT_EQ(Grown[2].Row, 3);

    auto Emptied = PortListChanges({Port(1), Port(2)}, {});
    ASSERT_EQ(Emptied.size(), 2u);
    EXPECT_EQ(Emptied[1].Kind, pcRemoved);
    EXPECT_EQ(Emptied[1].Row, 2);
    EXPECT_EQ(Emptied[1].Before, Port(2));
    EXPECT_FALSE(Emptied[1].After);
}

TEST(PortListChange, AssignedValuesReadBackTheSame) {
    TQ7NPorts Ports(nullptr);
    Ports.Add()->SetLocalPort(5);
    const std::vector<TPortValues> Values = {{"plc", 1, 2, 256, 115200}, Port(0)};
    AssignPortValues(Ports, Values);
    EXPECT_EQ(PortValuesOf(Ports), Values);
}
