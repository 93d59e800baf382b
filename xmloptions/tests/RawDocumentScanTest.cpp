#include "xmloptions/RawDocumentScan.h"

#include <gtest/gtest.h>
#include <string>

using namespace q7n;

namespace {

std::string File(const std::string& Body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<config Application=\"\" Version=\"1\">" +
           Body + "</config>\r\n";
}

} // namespace

TEST(RawDocumentScan, IsSureOfPrintableASCIIWithReferencesToAllowedCharacters) {
    EXPECT_TRUE(SurelyWritable(
        File("\r\n  <Q7NPorts>\r\n    <Item>\r\n      <IP>10.0.0.1</IP>\r\n      <COMPort>3"
             "</COMPort>\r\n\t  <Note>a &amp; b &lt;c&gt; &#13;&#10;&#x1F600; it's</Note>\r\n"
             "    </Item>\r\n    <Empty/>\r\n  </Q7NPorts>\r\n")));
    // Every byte is looked at, so markup the parser drops or keeps as it stands is plain bytes.
    EXPECT_TRUE(SurelyWritable(File("<!-- c --><![CDATA[x]]><?pi x?><IP a=\"1\">x</IP>")));
    EXPECT_TRUE(SurelyWritable("<!DOCTYPE config><config/>"));
}

TEST(RawDocumentScan, IsNotSureOfWhatOnlyTheParsedTreeCanTell) {
    using namespace std::string_literals;
    for (const std::string& Body :
         {"<IP>a\x01</IP>"s, "<IP>\xC3\xA9</IP>"s, "<IP>&#1;</IP>"s, "<IP>&#xD800;</IP>"s,
          "<IP>&#x110000;</IP>"s, "<IP>&#12</IP>"s, "<IP>&#;</IP>"s, "<IP>&#000000065;</IP>"s,
          "<IP a=\"&#0;\"/>"s, "<IP>\0</IP>"s})
        EXPECT_FALSE(SurelyWritable(File(Body))) << Body;
    EXPECT_FALSE(SurelyWritable("\xEF\xBB\xBF<config/>"));
    EXPECT_FALSE(SurelyWritable("<config>&#"));
}

// The bytes are taken sixteen at a time and the rest one by one: each way finds a byte at any
// place.
TEST(RawDocumentScan, FindsAnUnusualByteWhereverItStands) {
    const std::string Plain(70, 'a');
    EXPECT_TRUE(SurelyWritable(Plain));
    for (const char Unusual : {'\x01', '\x1F', '\x80', '\xFF'})
        for (std::size_t At = 0; At < Plain.size(); ++At) {
            std::string Text = Plain;
            Text[At] = Unusual;
            EXPECT_FALSE(SurelyWritable(Text)) << "byte " << int(Unusual) << " at " << At;
        }
    for (std::size_t At = 0; At + 4 <= Plain.size(); ++At) {
        std::string Text = Plain;
        Text.replace(At, 4, "&#1;");
        EXPECT_FALSE(SurelyWritable(Text)) << "reference at " << At;
        Text.replace(At, 4, "\t\r\n&");
        EXPECT_TRUE(SurelyWritable(Text)) << "tab, line end and '&' at " << At;
    }
}
