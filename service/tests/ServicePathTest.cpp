#include "ServicePath.h"

#include "CommandLine.h"

#include <gtest/gtest.h>

using q7n::QuoteServicePath;

TEST(QuoteServicePath, QuotesOnlyPathsWithBlanksThatAreNotQuotedYet) {
    EXPECT_EQ(QuoteServicePath("C:\\Q7N\\Install\\Q7NService.exe"),
              "C:\\Q7N\\Install\\Q7NService.exe");
    EXPECT_EQ(QuoteServicePath("C:\\Program Files\\Q7N\\Install\\Q7NService.exe"),
              "\"C:\\Program Files\\Q7N\\Install\\Q7NService.exe\"");
    EXPECT_EQ(QuoteServicePath("\"C:\\Program Files\\Q7N.exe\""), "\"C:\\Program Files\\Q7N.exe\"");
    EXPECT_EQ(QuoteServicePath("/opt/my\tdir/srv"), "\"/opt/my\tdir/srv\"");
    EXPECT_EQ(QuoteServicePath(""), "");
    // A root folder gives a doubled backslash; it is kept as it is.
    EXPECT_EQ(QuoteServicePath("C:\\\\Install\\Q7NService.exe"), "C:\\\\Install\\Q7NService.exe");
}

TEST(QuoteServicePath, TheQuotedCommandNamesTheWholePathAgain) {
    for (std::string Path : {"C:\\Program Files\\Q7N\\Q7NService.exe", "/tmp/a b/c d/srv",
                             "C:\\dir with trailing\\"}) {
        auto Words = q7n::platform::SplitWindowsCommandLine(QuoteServicePath(Path));
        ASSERT_EQ(Words.size(), 1u) << Path;
        EXPECT_EQ(Words[0], Path);
    }
}
