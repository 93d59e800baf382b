#include "platform/CommandLine.h"

#include <gtest/gtest.h>

using q7n::platform::SplitWindowsCommandLine;
using Words = std::vector<std::string>;

TEST(SplitWindowsCommandLine, ProgramNameQuotedOrNot) {
    EXPECT_EQ(SplitWindowsCommandLine(""), Words{});
    EXPECT_EQ(SplitWindowsCommandLine("   "), Words{});
    EXPECT_EQ(SplitWindowsCommandLine("/opt/q7n/srv"), Words{"/opt/q7n/srv"});
    // An unquoted path with a space is two words: the reason registered paths get quotes.
    EXPECT_EQ(SplitWindowsCommandLine("/opt/my dir/srv"), (Words{"/opt/my", "dir/srv"}));
    EXPECT_EQ(SplitWindowsCommandLine("\"/opt/my dir/srv\" -x"), (Words{"/opt/my dir/srv", "-x"}));
    // No escapes in the program name: a trailing backslash stays, the quote still closes.
    EXPECT_EQ(SplitWindowsCommandLine("\"C:\\Program Files\\\" a"),
              (Words{"C:\\Program Files\\", "a"}));
    EXPECT_EQ(SplitWindowsCommandLine("\"unterminated path"), Words{"unterminated path"});
}

TEST(SplitWindowsCommandLine, ArgumentsFollowTheBackslashAndQuoteRules) {
    EXPECT_EQ(SplitWindowsCommandLine("p a\tb   c"), (Words{"p", "a", "b", "c"}));
    EXPECT_EQ(SplitWindowsCommandLine("p \"a b\" c"), (Words{"p", "a b", "c"}));
    EXPECT_EQ(SplitWindowsCommandLine("p a\\\\b"), (Words{"p", "a\\\\b"}));        // literal
    EXPECT_EQ(SplitWindowsCommandLine("p a\\\"b"), (Words{"p", "a\"b"}));          // 1 -> quote
    EXPECT_EQ(SplitWindowsCommandLine("p \"a\\\\\" b"), (Words{"p", "a\\", "b"})); // 2 -> 1
    EXPECT_EQ(SplitWindowsCommandLine("p \"a\"\"b\""), (Words{"p", "a\"b"}));
    EXPECT_EQ(SplitWindowsCommandLine("p \"\""), (Words{"p", ""}));
    EXPECT_EQ(SplitWindowsCommandLine("p a\"b c\"d"), (Words{"p", "ab cd"}));
    EXPECT_EQ(SplitWindowsCommandLine("p \"open to the end"), (Words{"p", "open to the end"}));
}
