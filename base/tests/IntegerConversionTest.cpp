#include "base/IntegerConversion.h"

#include "base/Exceptions.h"

#include <gtest/gtest.h>

using namespace q7n;

TEST(IntegerConversion, AcceptsDecimalWithLeadingBlanksAndSignAndEveryHexPrefix) {
    EXPECT_EQ(StrToInt("8080"), 8080);
    EXPECT_EQ(StrToInt(" 8080"), 8080);
    EXPECT_EQ(StrToInt("   -1"), -1);
    EXPECT_EQ(StrToInt("+70000"), 70000);
    EXPECT_EQ(StrToInt("007"), 7);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);

    for (const char* Text : {"$1F90", "x1f90", "X1F90", "0x1F90", "0X1f90"})
        EXPECT_EQ(StrToInt(Text), 8080) << Text;
    EXPECT_EQ(StrToInt("-$10"), -16);
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(StrToInt("$7FFFFFFF"), INT32_MAX);
}

TEST(IntegerConversion, RejectsMalformedAndOutOfRangeTextWithAnErrorThatNamesIt) {
    for (const char* Bad :
         {"",           " ",   "-",          "+",           "$",
          "0x",         "x",   "abc",        "12a",         "8080 ",
          "1 2",        "--1", "2147483648", "-2147483649", "99999999999999999999",
          "$100000000", "\t1", "1.5",        "0x-1",        "$ 1"})
        EXPECT_FALSE(TryStrToInt(Bad).has_value()) << "'" << Bad << "'";

    try {
        StrToInt("abc");
        FAIL() << "no error raised";
    } catch (const EConvertError& E) {
        EXPECT_STREQ(E.what(), "'abc' is not a valid integer value");
    }
    EXPECT_THROW(StrToInt("8080 "), EConvertError);
}

// A parsed document's texts end at their NUL and are read without measuring them first; the
// answers are those of the measured text, around the nine digits that need no overflow check too.
TEST(IntegerConversion, TextEndingAtItsNulReadsAsTheMeasuredText) {
    for (const char* Text :
         {"0", "7", "123456789", "999999999", "1000000000", "2147483647", "2147483648",
          "0000000001", "12a", "8080 ", " 8080", "-5", "$1F", ""}) {
        std::optional<std::int32_t> Measured = TryStrToInt(std::string_view(Text));
        if (Measured) {
            EXPECT_EQ(StrToInt(Text), *Measured) << Text;
        } else {
            EXPECT_THROW(StrToInt(Text), EConvertError) << Text;
        }
    }
}
