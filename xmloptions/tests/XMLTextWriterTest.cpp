#include "xmloptions/XMLTextWriter.h"

#include "xmloptions/XMLTreeOutput.h"
#include "xmloptions/XMLWriter.h"
#include "xmloptions/tests/AllKindsOptions.h"

#include <gtest/gtest.h>

using namespace q7n;
using namespace q7n::testing;

namespace {

void WriteConfig(IXMLOutput& Out, const TXMLClass& Object, const std::string& Application) {
    Out.BeginElement("config");
    Out.Attribute("Application", Application);
    Out.Attribute("Version", "1");
    Object.SaveTo(Out, "Item");
    Out.EndElement();
}

std::string Direct(const TXMLClass& Object, const std::string& Application, bool Indent) {
    TXMLTextWriter Writer(Indent);
    WriteConfig(Writer, Object, Application);
    return Writer.Finish();
}

std::string Rendered(const TXMLClass& Object, const std::string& Application, bool Indent) {
    pugi::xml_document Document;
    TXMLTreeOutput Tree(Document);
    WriteConfig(Tree, Object, Application);
    return RenderXMLDocument(Document, Indent);
}

} // namespace

TEST(XMLTextWriter, WritesTheBytesOfTheRenderedTree) {
    auto Object = TXMLClass::Create<TAllKinds>(nullptr);
    Object->Title = "a\r\nb & <c> \"d\"\t Порт";
    Object->NestedObject()->Caption = "";
    static_cast<TLeaf*>(Object->LeavesObject()->Add())->Caption = " \t\r\n";
    Object->LeavesObject()->Add();
    Object->MixedObject()->AddByClassName("TBigLeaf");
    Object->MixedObject()->AddByClassName("TLeaf");
    const std::string Application = "x \"y\"\t<&>";

    for (bool Indent : {true, false})
        EXPECT_EQ(Direct(*Object, Application, Indent), Rendered(*Object, Application, Indent))
            << "indent " << Indent;

    // What both share, as the files have always been written.
    const std::string Flat = Direct(*Object, Application, false);
    for (const char* Part :
         {"<config Application=\"x &quot;y&quot;&#9;&lt;&amp;&gt;\" Version=\"1\">",
          "<Title>a&#13;&#10;b &amp; &lt;c&gt; \"d\"\t Порт</Title>",
          "<Nested><Caption></Caption></Nested>",
          "<Leaves><Item><Caption>&#32;&#9;&#13;&#10;</Caption></Item>",
          "<Mixed><TBigLeaf><Caption>leaf</Caption><Size>10</Size></TBigLeaf><TLeaf>",
          "<OnChange/><Anything/><Big/></config>"})
        EXPECT_NE(Flat.find(Part), std::string::npos) << Part;
}
