#include "xmloptions/RawDocumentScan.h"

#include <gtest/gtest.h>
#include <string>

using namespace q7n;

namespace {

constexpr int Limit = 64;

std::string File(const std::string& Body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<config Application=\"\" Version=\"1\">" +
           Body + "</config>\r\n";
}

std::string Nested(int Levels) {
    std::string Open, Close;
    for (int I = 0; I < Levels; ++I) {
        Open += "<a>";
        Close += "</a>";
    }
    return Open + "x" + Close;
}

} // namespace

TEST(RawDocumentScan, IsSureOfAFileAsTheSaveWritesIt) {
    EXPECT_TRUE(SurelyWritableAndShallow(
        File("\r\n  <Q7NPorts>\r\n    <Item>\r\n      <IP>10.0.0.1</IP>\r\n      <COMPort>3"
             "</COMPort>\r\n\t  <Note>a &amp; b &lt;c&gt; &#13;&#10;&#x1F600;</Note>\r\n    </Item>"
             "\r\n    <Empty/>\r\n  </Q7NPorts>\r\n"),
        Limit));
    EXPECT_TRUE(SurelyWritableAndShallow("<config/>", Limit));
}

TEST(RawDocumentScan, IsNotSureOfWhatOnlyTheParsedTreeCanTell) {
    for (const std::string Body :
         {"<IP>a\x01</IP>", "<IP>\xC3\xA9</IP>", "<IP>&#1;</IP>", "<IP>&#xD800;</IP>",
          "<IP>&#x110000;</IP>", "<IP>&#12</IP>", "<IP>&#;</IP>", "<IP>&#000000065;</IP>",
          "<!-- c -->", "<![CDATA[x]]>", "<?pi x?>", "<IP a=\"1\">x</IP>", "<IP>it's</IP>"})
        EXPECT_FALSE(SurelyWritableAndShallow(File(Body), Limit)) << Body;
    EXPECT_FALSE(SurelyWritableAndShallow("<!DOCTYPE config><config/>", Limit));
    EXPECT_FALSE(SurelyWritableAndShallow("\xEF\xBB\xBF<config/>", Limit));
    EXPECT_FALSE(SurelyWritableAndShallow("", Limit));
    EXPECT_FALSE(SurelyWritableAndShallow("<config a=\"</x>\"", Limit));
}

TEST(RawDocumentScan, CountsTheDepthNeverLessThanItIs) {
    // The root is level 1: elements nested Limit - 2 deep inside it put their text at Limit.
    EXPECT_TRUE(SurelyWritableAndShallow(File(Nested(Limit - 2)), Limit));
    EXPECT_FALSE(SurelyWritableAndShallow(File(Nested(Limit - 1)), Limit));
    // End tags and empty elements: siblings do not add up, an attribute's '/' closes nothing.
    std::string Siblings;
    for (int I = 0; I < 3 * Limit; ++I)
        Siblings += "<a>x</a>";
    EXPECT_TRUE(SurelyWritableAndShallow(File(Siblings), Limit));
    EXPECT_TRUE(
        SurelyWritableAndShallow("<config a=\"/>\">" + Nested(Limit - 2) + "</config>", Limit));
    EXPECT_FALSE(
        SurelyWritableAndShallow("<config a=\"/>\">" + Nested(Limit - 1) + "</config>", Limit));
}
