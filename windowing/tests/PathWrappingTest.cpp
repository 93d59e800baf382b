#include "windowing/PathWrapping.h"

#include <gtest/gtest.h>

namespace q7n {
namespace {

TEST(PathWrapping, CutsOnlyQuotedPathsAfterTheirSeparators) {
    std::vector<std::pair<std::string, bool>> Pieces;
    for (const TTextPiece& Piece :
         CutAtPathSeparators(R"(Read "a-b" at "C:\Program Files\Q7N.xml" and "/x/" or "u)"))
        Pieces.emplace_back(std::string(Piece.Text), Piece.PathName);
    EXPECT_EQ(Pieces, (std::vector<std::pair<std::string, bool>>{{R"(Read "a-b" at ")", false},
                                                                 {R"(C:\)", true},
                                                                 {R"(Program Files\)", true},
                                                                 {"Q7N.xml", true},
                                                                 {R"(" and ")", false},
                                                                 {"/", true},
                                                                 {"x/", true},
                                                                 {R"(" or "u)", false}}));
}

TEST(PathWrapping, BreaksLinesAtBlanksAndAfterSeparatorsOnly) {
    auto Length = [](std::string_view Line) {
        return int(Line.size());
    };
    EXPECT_EQ(
        BreakLines(R"(File "C:\Program Files\Q7N Service\Q7NPorts.xml" was kept.)", 20, Length),
        "File \"C:\\\n"
        "Program Files\\\n"
        "Q7N Service\\\n"
        "Q7NPorts.xml\" was\n"
        "kept.");
    // A line end of the text stays; a name wider than the line stands alone.
    EXPECT_EQ(BreakLines("One\ntwo \"/averyveryverylongname/x\"", 8, Length),
              "One\ntwo \"/\naveryveryverylongname/\nx\"");
}

} // namespace
} // namespace q7n
