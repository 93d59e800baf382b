#include "base/Exceptions.h"
#include "xmloptions/PoolObjects.h"
#include "xmloptions/XMLElement.h"
#include "xmloptions/XMLErrors.h"
#include "xmloptions/tests/AllKindsOptions.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace q7n;
using namespace q7n::testing;

namespace {

// Parses Xml as the serializer does and loads its root element into Object.
void LoadXml(TXMLClass& Object, const std::string& Xml) {
    pugi::xml_document Document;
    ASSERT_TRUE(Document.load_string(Xml.c_str()));
    Object.LoadFromNode(Document.document_element(), "Item");
}

std::string SaveXml(const TXMLClass& Object) {
    pugi::xml_document Document;
    pugi::xml_node Root = Document.append_child("r");
    Object.SaveToNode(Root, "Item");
    std::ostringstream Out;
    Root.print(Out, "", pugi::format_raw);
    return Out.str();
}

std::string ChildText(const std::string& Xml, const char* Path) {
    pugi::xml_document Document;
    Document.load_string(Xml.c_str());
    return Document.document_element().first_element_by_path(Path).text().get();
}

// The captions of a list of leaves, each followed by ";".
std::string Captions(const TXMLClassList& List) {
    std::string All;
    for (int I = 0; I < List.Count(); ++I)
        All += static_cast<TLeaf*>(List.Items(I))->Caption + ";";
    return All;
}

} // namespace

TEST(XMLClass, SaveWritesEveryKindInTableOrder) {
    auto Object = TXMLClass::Create<TAllKinds>(nullptr);
    Object->NestedObject()->Caption = "inner";
    Object->LeavesObject()->Add();
    Object->MixedObject()->AddByClassName("TBigLeaf");
    Object->Letter = static_cast<char>(0xE9);
    std::string Xml = SaveXml(*Object);

    EXPECT_EQ(Xml, "<r><Count>5</Count><Percent>50</Percent><Small>7</Small><Letter>233</Letter>"
                   "<WideLetter>1046</WideLetter><Flags>5</Flags><Enabled>True</Enabled>"
                   "<Colour>1</Colour><Ratio>0.5</Ratio><Stamp>45000.25</Stamp>"
                   "<Title>title</Title><Nested><Caption>inner</Caption></Nested>"
                   "<Leaves><Item><Caption>leaf</Caption></Item></Leaves>"
                   "<Mixed><TBigLeaf><Caption>leaf</Caption><Size>10</Size></TBigLeaf></Mixed>"
                   "<OnChange/><Anything/><Big/></r>");
    Object->Enabled = false;
    EXPECT_EQ(ChildText(SaveXml(*Object), "Enabled"), "False");
}

TEST(XMLClass, SavedTreeLoadsBackEqual) {
    auto Source = TXMLClass::Create<TAllKinds>(nullptr);
    Source->Count = -7;
    Source->Percent = 100;
    Source->Small = 255;
    Source->Letter = 'z';
    Source->WideLetter = 0xFFFF;
    Source->Flags = 0xFFFFFFFF;
    Source->Enabled = false;
    Source->Colour = clBlue;
    Source->Ratio = 0.1f;
    Source->Stamp = 45000.0 + 13.0 / 24 + 37.0 / 1440; // a date and time to the minute
    Source->Title = "Кириллица & <tags>";
    Source->NestedObject()->Caption = "";
    Source->LeavesObject()->Add();
    static_cast<TLeaf*>(Source->LeavesObject()->Add())->Caption = "second";
    Source->MixedObject()->AddByClassName("TLeaf");
    static_cast<TBigLeaf*>(Source->MixedObject()->AddByClassName("TBigLeaf"))->Size = -1;

    auto Target = TXMLClass::Create<TAllKinds>(nullptr);
    LoadXml(*Target, SaveXml(*Source));

    EXPECT_EQ(Target->Count, -7);
    EXPECT_EQ(Target->Percent, 100);
    EXPECT_EQ(Target->Small, 255);
    EXPECT_EQ(Target->Letter, 'z');
    EXPECT_EQ(Target->WideLetter, 0xFFFF);
    EXPECT_EQ(Target->Flags, 0xFFFFFFFFu);
    EXPECT_FALSE(Target->Enabled);
    EXPECT_EQ(Target->Colour, clBlue);
    EXPECT_EQ(Target->Ratio, 0.1f);
    EXPECT_DOUBLE_EQ(Target->Stamp, Source->Stamp);
    EXPECT_NEAR(Target->Stamp, Source->Stamp, 1e-9); // well under a second
    EXPECT_EQ(Target->Title, "Кириллица & <tags>");
    EXPECT_EQ(Target->NestedObject()->Caption, "");
    ASSERT_EQ(Target->LeavesObject()->Count(), 2);
    EXPECT_EQ(static_cast<TLeaf*>(Target->LeavesObject()->Items(1))->Caption, "second");
    ASSERT_EQ(Target->MixedObject()->Count(), 2);
    EXPECT_EQ(Target->MixedObject()->Items(0)->ClassName(), "TLeaf");
    EXPECT_EQ(static_cast<TBigLeaf*>(Target->MixedObject()->Items(1))->Size, -1);
}

TEST(XMLClass, LoadAssignsThroughAccessorsAndKeepsMissingValues) {
    auto Object = TXMLClass::Create<TAllKinds>(nullptr);
    Object->Count = 99;
    LoadXml(*Object, "<r><Unknown>1</Unknown><Percent>150</Percent><Title>first</Title>"
                     "<Title>second</Title><Flags>-1</Flags><Ratio>abc</Ratio>"
                     "<OnChange/><Big>5</Big></r>");
    EXPECT_EQ(Object->Count, 99);          // no element: unchanged
    EXPECT_EQ(Object->Percent, 50);        // the setter rejected 150
    EXPECT_EQ(Object->Title, "first");     // only the first of two elements is read
    EXPECT_EQ(Object->Flags, 0xFFFFFFFFu); // sets take any bit mask
    EXPECT_EQ(Object->Ratio, 0.0f);        // float text that does not parse reads as 0
    EXPECT_EQ(Object->Big, 0);             // 64-bit values are not stored

    LoadXml(*Object, "<r><Count> -12</Count><Title><![CDATA[a<b]]></Title></r>");
    EXPECT_EQ(Object->Count, -12);
    EXPECT_EQ(Object->Title, "a<b");
}

TEST(XMLClass, LoadFailsOnMalformedOrOutOfRangeValues) {
    struct TCase {
        const char* Xml;
        const char* Message; // part of the error text
    } Cases[] = {
        {"<r><Count>12a</Count></r>", "'12a' is not a valid integer value"},
        {"<r><Count></Count></r>", "'' is not a valid integer value"},
        {"<r><Count>8080 </Count></r>", "not a valid integer"},
        {"<r><Small>256</Small></r>", "out of range"},
        {"<r><Colour>3</Colour></r>", "out of range"},
        {"<r><Letter>-1</Letter></r>", "out of range"},
        {"<r><Enabled>yes</Enabled></r>", "'yes' is not a valid integer value"},
        {"<r><Title>a<b/>c</Title></r>", "Element does not contain a single text node"},
        {"<r><OnChange><x/></OnChange></r>", "Element does not contain a single text node"},
        {"<r><Mixed><TOther/></Mixed></r>", "TOther"},
    };
    for (const TCase& Case : Cases) {
        auto Object = TXMLClass::Create<TAllKinds>(nullptr);
        try {
            LoadXml(*Object, Case.Xml);
            ADD_FAILURE() << "no error for " << Case.Xml;
        } catch (const Exception& E) {
            EXPECT_NE(std::string(E.what()).find(Case.Message), std::string::npos)
                << Case.Xml << ": " << E.what();
        }
    }
}

TEST(XMLClass, BooleansReadWordsInAnyCaseAndNumbers) {
    auto Object = TXMLClass::Create<TAllKinds>(nullptr);
    for (const char* True : {"True", "true", "TRUE", "1", "-1", "$10"}) {
        Object->Enabled = false;
        LoadXml(*Object, std::string("<r><Enabled>") + True + "</Enabled></r>");
        EXPECT_TRUE(Object->Enabled) << True;
    }
    for (const char* False : {"False", "false", "0"}) {
        Object->Enabled = true;
        LoadXml(*Object, std::string("<r><Enabled>") + False + "</Enabled></r>");
        EXPECT_FALSE(Object->Enabled) << False;
    }
}

TEST(XMLClass, PlainListReadsFromTheFirstItemElementOn) {
    auto Object = TXMLClass::Create<TAllKinds>(nullptr);
    TLeafList& Leaves = *Object->LeavesObject();
    Leaves.Add();
    LoadXml(*Object, "<r><Leaves/></r>");
    EXPECT_EQ(Leaves.Count(), 1) << "an element with no child nodes leaves the list unchanged";

    LoadXml(*Object, "<r><Leaves><Item><Caption>a</Caption></Item><Item><Caption>b</Caption>"
                     "</Item></Leaves></r>");
    EXPECT_EQ(Captions(Leaves), "a;b;");

    LoadXml(*Object, "<r><Leaves><First><Caption>x</Caption></First><Item><Caption>a</Caption>"
                     "</Item><Other><Caption>b</Caption></Other></Leaves></r>");
    EXPECT_EQ(Captions(Leaves), "a;b;")
        << "children before the first Item are skipped, later ones read";

    LoadXml(*Object, "<r><Leaves><Other><Caption>x</Caption></Other></Leaves></r>");
    EXPECT_EQ(Captions(Leaves), "leaf;") << "no Item at all gives one item with its defaults";

    LoadXml(*Object, "<r><Leaves><Item><Caption>a</Caption></Item>stray<Item/>tail</Leaves></r>");
    EXPECT_EQ(Captions(Leaves), "a;leaf;") << "text between items is no item";
    LoadXml(*Object, "<r><Leaves>stray</Leaves></r>");
    EXPECT_EQ(Captions(Leaves), "a;leaf;")
        << "an element with text only is like one with no children";
}

TEST(XMLClass, MixedListNamesItemsByClass) {
    auto Object = TXMLClass::Create<TAllKinds>(nullptr);
    LoadXml(*Object, "<r><Mixed><TBigLeaf><Size>3</Size></TBigLeaf><TLeaf/></Mixed></r>");
    TMixedList& Mixed = *Object->MixedObject();
    ASSERT_EQ(Mixed.Count(), 2);
    EXPECT_EQ(static_cast<TBigLeaf*>(Mixed.Items(0))->Size, 3);
    EXPECT_EQ(Mixed.Items(1)->ClassName(), "TLeaf");
    EXPECT_EQ(Mixed.Items(0)->Owner(), &Mixed);

    LoadXml(*Object, "<r><Mixed/></r>");
    EXPECT_EQ(Mixed.Count(), 2);
    EXPECT_THROW(Mixed.AddByClassName("TNothing"), Exception);
}

TEST(XMLClass, CopyFromIsDeepAndKeepsEachPrecision) {
    auto Source = TXMLClass::Create<TAllKinds>(nullptr);
    Source->Count = 1;
    Source->Ratio = 0.1f;
    Source->Stamp = 45000.0 + 1.0 / 1440; // one minute past midnight
    Source->Title = "copied";
    Source->Big = 64;
    Source->NestedObject()->Caption = "nested";
    for (int I = 0; I < 3; ++I)
        static_cast<TLeaf*>(Source->LeavesObject()->Add())->Caption = std::to_string(I);
    Source->MixedObject()->AddByClassName("TBigLeaf");
    Source->MixedObject()->AddByClassName("TLeaf");

    auto Target = TXMLClass::Create<TAllKinds>(nullptr);
    for (int I = 0; I < 5; ++I)
        Target->LeavesObject()->Add();
    TLeafList* TargetLeaves = Target->LeavesObject();
    Target->CopyFrom(Source.get());

    EXPECT_EQ(Target->Count, 1);
    EXPECT_EQ(Target->Ratio, 0.1f);
    EXPECT_EQ(Target->Stamp, Source->Stamp);
    EXPECT_EQ(Target->Title, "copied");
    EXPECT_EQ(Target->Big, 0); // not copied
    EXPECT_EQ(Target->NestedObject()->Caption, "nested");
    EXPECT_NE(Target->NestedObject(), Source->NestedObject());
    EXPECT_EQ(Target->LeavesObject(), TargetLeaves); // filled, not replaced
    ASSERT_EQ(TargetLeaves->Count(), 3);
    EXPECT_EQ(static_cast<TLeaf*>(TargetLeaves->Items(2))->Caption, "2");
    EXPECT_NE(TargetLeaves->Items(0), Source->LeavesObject()->Items(0));
    EXPECT_EQ(TargetLeaves->Items(0)->Owner(), TargetLeaves);
    ASSERT_EQ(Target->MixedObject()->Count(), 2);
    EXPECT_EQ(Target->MixedObject()->Items(0)->ClassName(), "TBigLeaf");

    // Nothing to copy from: no change, no error.
    Target->CopyFrom(nullptr);
    TForeign Foreign;
    Target->CopyFrom(&Foreign);
    EXPECT_EQ(Target->Title, "copied");

    // A list copied onto itself keeps its items.
    TargetLeaves->CopyFrom(TargetLeaves);
    EXPECT_EQ(TargetLeaves->Count(), 3);
}

TEST(XMLClass, ResetToDefaultsReachesNestedObjects) {
    auto Object = TXMLClass::Create<TAllKinds>(nullptr);
    Object->Count = 42;
    Object->NestedObject()->Caption = "changed";
    Object->LeavesObject()->Add();
    Object->ResetToDefaults();
    EXPECT_EQ(Object->Count, 5);
    EXPECT_EQ(Object->NestedObject()->Caption, "leaf");
    EXPECT_EQ(Object->LeavesObject()->Count(), 0);

    // A nested object that is not an option object stops the walk with the silent abort;
    // saving skips it and a missing one writes nothing.
    Object->Missing = std::make_unique<TForeign>();
    EXPECT_THROW(Object->ResetToDefaults(), EAbort);
    EXPECT_NE(SaveXml(*Object).find("<Missing/>"), std::string::npos);
    Object->Missing.reset();
    EXPECT_EQ(SaveXml(*Object).find("Missing"), std::string::npos);
}

TEST(XMLClassList, IndexErrorsAndOwnership) {
    TLeafList List(nullptr);
    TLeaf* First = static_cast<TLeaf*>(List.Add());
    List.Add();
    try {
        List.Items(2);
        FAIL() << "no error raised";
    } catch (const EListError& E) {
        EXPECT_STREQ(E.what(), "List index out of bounds (2)");
    }
    EXPECT_THROW(List.Items(-1), EListError);
    EXPECT_THROW(List.Delete(2), EListError);

    // An object the list does not hold stays with its real owner (the sanitizer build would
    // report a double free otherwise).
    TLeafList Other(nullptr);
    TXMLClass* Foreign = Other.Add();
    List.Remove(Foreign);
    EXPECT_EQ(List.Count(), 2);
    EXPECT_EQ(Other.Items(0), Foreign);

    List.Remove(First);
    EXPECT_EQ(List.Count(), 1);
    List.Delete(0);
    EXPECT_EQ(List.Count(), 0);

    TXMLClassList Abstract(nullptr);
    EXPECT_THROW(Abstract.Add(), Exception);
}

TEST(XMLClassList, DeletingManyKeepsTheRestInOrder) {
    TLeafList List(nullptr);
    for (const char* Caption : {"a", "b", "c", "d", "e", "f"})
        static_cast<TLeaf*>(List.Add())->Caption = Caption;

    // A bad index anywhere in the set changes nothing.
    EXPECT_THROW(List.Delete(std::vector<int>{1, 6}), EListError);
    EXPECT_THROW(List.Delete(std::vector<int>{-1, 2}), EListError);
    EXPECT_EQ(Captions(List), "a;b;c;d;e;f;");

    List.Delete(std::vector<int>{4, 0, 4, 1});
    EXPECT_EQ(Captions(List), "c;d;f;");
    List.Delete(std::vector<int>{});
    List.Delete(std::vector<int>{2});
    EXPECT_EQ(Captions(List), "c;d;");
}

TEST(XMLClassListIterator, PoolOwnsItsCursors) {
    TLeafList List(nullptr);
    TXMLClassListIterator Cursor;
    EXPECT_EQ(Cursor.List(), nullptr);
    EXPECT_EQ(Cursor.Position(), -1);
    Cursor.Attach(&List);
    EXPECT_EQ(Cursor.List(), &List);

    TPoolObjects Pool;
    TXMLClassListIterator* Pooled = Pool.Acquire();
    EXPECT_EQ(Pooled->List(), nullptr);
    EXPECT_EQ(Pool.Count(), 1);
    EXPECT_EQ(ObjectPool().Count(), 0);
}

TEST(XMLElement, TextAndNamesFollowTheDomRules) {
    pugi::xml_document Document;
    ASSERT_TRUE(Document.load_string("<r><a/><b>x</b><c><![CDATA[y]]></c><d>x<e/></d></r>"));
    pugi::xml_node Root = Document.document_element();
    EXPECT_STREQ(ElementText(Root.child("a")), "");
    EXPECT_STREQ(ElementText(Root.child("b")), "x");
    EXPECT_STREQ(ElementText(Root.child("c")), "y");
    EXPECT_THROW(ElementText(Root.child("d")), EXMLElementError);
    EXPECT_THROW(ElementText(Root), EXMLElementError);

    Root.child("d").remove_children();
    Root.child("d").append_child(pugi::node_pcdata).set_value("z");
    EXPECT_STREQ(ElementText(Root.child("d")), "z");
    EXPECT_EQ(ChildElementAutoCreate(Root, "b"), Root.child("b"));
    EXPECT_EQ(std::string(ChildElementAutoCreate(Root, "new").name()), "new");
    EXPECT_EQ(Root.last_child(), Root.child("new"));

    EXPECT_THROW(AppendElement(Root, "two words"), EXMLElementError);
    EXPECT_THROW(AppendElement(Root, "1st"), EXMLElementError);
    EXPECT_THROW(AppendElement(Root, ""), EXMLElementError);
    EXPECT_TRUE(IsValidXMLName("Item_1.x-y"));
}
