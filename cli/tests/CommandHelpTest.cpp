#include "cli/CommandHelp.h"

#include <gtest/gtest.h>

using q7n::cli::AppendHelpLine;

namespace {

std::string Help(const char* Usage, const char* Text) {
    std::string Out;
    AppendHelpLine(Out, {Usage, Text});
    return Out;
}

} // namespace

// The text starts in column 28 while the usage leaves two blanks before it, else on the next
// line; every line of it starts there.
TEST(CommandHelp, AlignsTheTextInOneColumn) {
    EXPECT_EQ(Help("list", ""), "  list\n");
    EXPECT_EQ(Help("restart [--wait SECONDS]", "a\nb"), "  restart [--wait SECONDS]  a\n"
                                                        "                            b\n");
    EXPECT_EQ(Help("restart [--wait SECONDS]x", "a"), "  restart [--wait SECONDS]x\n"
                                                      "                            a\n");
}
