#include "xmloptions/FloatText.h"

#include <clocale>
#include <gtest/gtest.h>
#include <string>

using namespace q7n;

namespace {

// Switches LC_NUMERIC for one test and restores it afterwards.
class TNumericLocale {
public:
    explicit TNumericLocale(const char* Name) {
        FPrevious = std::setlocale(LC_NUMERIC, nullptr);
        FActive = std::setlocale(LC_NUMERIC, Name) != nullptr;
    }
    ~TNumericLocale() { std::setlocale(LC_NUMERIC, FPrevious.c_str()); }
    bool Active() const { return FActive; }

private:
    std::string FPrevious;
    bool FActive;
};

#ifdef _WIN32
// The C runtime names locales in Windows' own way; every Windows has this one.
constexpr const char* CommaLocaleName = "Russian_Russia.1251";
#else
constexpr const char* CommaLocaleName = "ru_RU.UTF-8";
#endif

} // namespace

TEST(FloatText, ReplaceAllScansFromTheLeft) {
    EXPECT_EQ(ReplaceAll("a.b.c", ".", ","), "a,b,c");
    EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(ReplaceAll("abc", "b", "b"), "abc");
    EXPECT_EQ(ReplaceAll("AbA", "a", "x"), "AbA");
    EXPECT_EQ(ReplaceAll("", "a", "x"), "");
}

TEST(FloatText, ParsesDecimalTextAndReadsAnythingElseAsZero) {
    TNumericLocale Locale("C");
    EXPECT_EQ(DecimalSeparatorText(), ".");
    EXPECT_EQ(TextToFloat("1.5"), 1.5);
    EXPECT_EQ(TextToFloat(" -2.25e2 "), -225.0);
    EXPECT_EQ(TextToFloat("+3"), 3.0);
    EXPECT_EQ(TextToFloat(".5"), 0.5);
    EXPECT_EQ(TextToFloat("5."), 5.0);
    for (const char* Bad :
         {"", "abc", "1,5", "1.5x", "nan", "inf", "0x10", "1e", "e5", ".", "1e999"})
        EXPECT_EQ(TextToFloat(Bad), 0.0) << Bad;
    EXPECT_EQ(TextToSingle("0.1"), 0.1f);
}

TEST(FloatText, CommaLocaleReadsBothSeparatorsAndFilesStillUseAPoint) {
    TNumericLocale Locale(CommaLocaleName);
    ASSERT_TRUE(Locale.Active()) << CommaLocaleName
                                 << " is missing; on Linux scripts/install-deps.sh makes it";
    EXPECT_EQ(DecimalSeparatorText(), ",");
    EXPECT_EQ(TextToFloat("1,5"), 1.5);
    EXPECT_EQ(TextToFloat("1.5"), 1.5);
    EXPECT_EQ(FloatToText(1.5, ftDouble), "1.5");
}

TEST(FloatText, WritesEachPrecisionSoItReadsBack) {
    EXPECT_EQ(FloatToText(0.1f, ftSingle), "0.1");
    EXPECT_EQ(FloatToText(0.1, ftDouble), "0.1");
    EXPECT_EQ(FloatToText(0, ftDouble), "0");
    EXPECT_EQ(FloatToText(-2.5, ftSingle), "-2.5");
    double Stamp = 46364.0 + 13.0 / 24 + 37.0 / 1440; // a date at 13:37
    EXPECT_NEAR(TextToFloat(FloatToText(Stamp, ftDouble)), Stamp, 1e-9);
    EXPECT_EQ(TextToSingle(FloatToText(3.14159274f, ftSingle)), 3.14159274f);
    EXPECT_EQ(NarrowFloat(0.1, ftSingle), static_cast<double>(0.1f));
    EXPECT_EQ(NarrowFloat(0.1, ftDouble), 0.1);
}
