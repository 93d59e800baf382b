#include "windowing/ErrorBoxText.h"

#include <gtest/gtest.h>

namespace q7n {
namespace {

TEST(ErrorBoxText, AddsAFullStopOnlyAfterACharacterThatSortsAfterIt) {
    EXPECT_EQ(ErrorBoxText("'80a' is not a valid integer value"),
              "'80a' is not a valid integer value.");
    EXPECT_EQ(ErrorBoxText("Code 7"), "Code 7.");
    EXPECT_EQ(ErrorBoxText("Нет доступа"), "Нет доступа."); // a Cyrillic letter sorts after "."
    EXPECT_EQ(ErrorBoxText("List index out of bounds (5)"), "List index out of bounds (5)");
    EXPECT_EQ(ErrorBoxText("Done."), "Done.");
    EXPECT_EQ(ErrorBoxText("Failed!"), "Failed!");
    EXPECT_EQ(ErrorBoxText("Path a/"), "Path a/."); // "/" follows "." in ASCII
    EXPECT_EQ(ErrorBoxText("a-"), "a-");            // "-" sorts just before "."
    EXPECT_EQ(ErrorBoxText("a "), "a ");
    EXPECT_EQ(ErrorBoxText(""), "");
}

} // namespace
} // namespace q7n
