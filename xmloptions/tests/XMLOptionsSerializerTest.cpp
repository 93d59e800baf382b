#include "xmloptions/XMLOptionsSerializer.h"

#include "base/testsupport/TemporaryFolder.h"
#include "platform/FileSystem.h"
#include "xmloptions/tests/AllKindsOptions.h"
#include "xmloptions/testsupport/StrictXML.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

using namespace q7n;
using namespace q7n::testing;
namespace fs = std::filesystem;

namespace {

class XMLOptionsSerializerTest : public ::testing::Test {
protected:
    void SetUp() override {
        FSerializer.RootObject = FRoot.get();
        FSerializer.XMLFilePath = FPath;
    }

    // Writes and reads the file of that name in the test's folder.
    void Write(const std::string& Text, const std::string& Name = "options.xml") {
        std::ofstream(FTemporary.File(Name), std::ios::binary) << Text;
    }
    std::string Read(const std::string& Name = "options.xml") {
        return platform::ReadWholeFile(FTemporary.File(Name));
    }
    // Writes Text as the options file and loads it.
    TXMLLoadResult Load(const std::string& Text) {
        Write(Text);
        return FSerializer.LoadFromFile();
    }
    std::vector<std::string> Files() const { return FTemporary.Names(); }
    // An options file of this application with Body in its root element.
    static std::string Config(const std::string& Body) {
        return "<config Application=\"\" Version=\"1\">" + Body + "</config>";
    }
    // Changes the tree away from its defaults.
    void Change() {
        FRoot->Count = 77;
        static_cast<TLeaf*>(FRoot->LeavesObject()->Add())->Caption = "kept";
    }
    bool AtDefaults() const { return FRoot->Count == 5 && FRoot->LeavesObject()->Count() == 0; }

    TTemporaryFolder FTemporary;
    std::string FPath = FTemporary.File("options.xml");
    std::unique_ptr<TAllKinds> FRoot = TXMLClass::Create<TAllKinds>(nullptr);
    TXMLOptionsSerializer FSerializer{nullptr};
};

} // namespace

TEST_F(XMLOptionsSerializerTest, WritesTheIndentedLayout) {
    FRoot->LeavesObject()->Add();
    FSerializer.SaveToFile();
    EXPECT_EQ(FSerializer.LastSave().Status, ssSaved);
    std::string Text = Read();
    EXPECT_EQ(Text.substr(0, 40), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
    EXPECT_NE(Text.find("\r\n<config Application=\"\" Version=\"1\">\r\n  <Count>5</Count>\r\n"),
              std::string::npos);
    EXPECT_NE(Text.find("\r\n  <Leaves>\r\n    <Item>\r\n      <Caption>leaf</Caption>\r\n"
                        "    </Item>\r\n  </Leaves>\r\n"),
              std::string::npos);
    EXPECT_NE(Text.find("\r\n  <OnChange/>\r\n"), std::string::npos);
    EXPECT_EQ(Text.substr(Text.size() - 11), "</config>\r\n");
    auto Count = [&](const std::string& Of) {
        std::size_t N = 0;
        for (std::size_t At = Text.find(Of); At != std::string::npos; At = Text.find(Of, At + 1))
            ++N;
        return N;
    };
    EXPECT_EQ(Count("\n"), Count("\r\n")); // every line ends in CR LF
    EXPECT_EQ(Files(), std::vector<std::string>{"options.xml"});
    EXPECT_TRUE(IsStrictXML(FPath));

    FSerializer.NodeAutoIndent = false;
    FSerializer.UseVersionControl = false;
    FSerializer.SaveToFile();
    Text = Read();
    EXPECT_EQ(Text.substr(0, 64),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<config><Count>5</Count>");
    EXPECT_EQ(Text.find("\r\n", 41), std::string::npos);
}

TEST_F(XMLOptionsSerializerTest, RoundTripGivesAnEqualTree) {
    FRoot->Title = "line1\nline2\r\ttab \"quoted\" & <b>";
    FRoot->Ratio = 0.1f;
    FRoot->Stamp = 46000.123456789;
    Change();
    FSerializer.ApplicationName = "App";
    FSerializer.SaveToFile();
    EXPECT_TRUE(IsStrictXML(FPath));

    auto Copy = TXMLClass::Create<TAllKinds>(nullptr);
    TXMLOptionsSerializer Reader(nullptr);
    Reader.RootObject = Copy.get();
    Reader.XMLFilePath = FPath;
    Reader.ApplicationName = "App";
    bool AfterLoad = false;
    Reader.OnAfterLoad = [&](TXMLOptionsSerializer* Sender) {
        AfterLoad = Sender == &Reader;
    };
    Reader.LoadFromFile();
    EXPECT_EQ(Reader.LastLoad().Status, lsRead);
    EXPECT_TRUE(AfterLoad);
    EXPECT_EQ(Copy->Title, FRoot->Title);
    EXPECT_EQ(Copy->Ratio, 0.1f);
    EXPECT_EQ(Copy->Stamp, 46000.123456789);
    EXPECT_EQ(Copy->Count, 77);
    ASSERT_EQ(Copy->LeavesObject()->Count(), 1);
}

TEST_F(XMLOptionsSerializerTest, HeaderChecksRejectForeignFiles) {
    struct TCase {
        const char* Xml;
        bool LoadsWithoutVersionControl;
    } Cases[] = {
        {"<Config Application=\"\" Version=\"1\"><Count>9</Count></Config>", true},
        {"<config Version=\"1\"><Count>9</Count></config>", true},
        {"<config Application=\"Other\" Version=\"1\"><Count>9</Count></config>", true},
        {"<config Application=\"\"><Count>9</Count></config>", true},
        {"<config Application=\"\" Version=\"x\"><Count>9</Count></config>", true},
        {"<config Application=\"\" Version=\"1\"><Count>9a</Count></config>", false},
        {"<config Application=\"\" Version=\"1\"><Count>9</Count>", false},
        {"<a/><config Application=\"\" Version=\"1\"/>", false},
    };
    for (const TCase& Case : Cases) {
        Change();
        FSerializer.UseVersionControl = true;
        Load(Case.Xml);
        EXPECT_TRUE(AtDefaults()) << Case.Xml;
        EXPECT_EQ(FSerializer.LastLoad().Status, lsRejected) << Case.Xml;
        EXPECT_FALSE(FSerializer.LastLoad().Reason.empty());

        FSerializer.UseVersionControl = false;
        FSerializer.LoadFromFile();
        EXPECT_EQ(FRoot->Count == 9, Case.LoadsWithoutVersionControl) << Case.Xml;
    }
}

TEST_F(XMLOptionsSerializerTest, VersionIsReadAsItsLowEightBits) {
    Load("<config Application=\"\" Version=\"7\"/>");
    EXPECT_EQ(FSerializer.Version, 7);
    FSerializer.SaveToFile();
    EXPECT_NE(Read().find("Version=\"7\""), std::string::npos);

    Load("<config Application=\"\" Version=\"300\"/>");
    EXPECT_EQ(FSerializer.Version, 44);

    // The version is taken before the content is found bad, and kept.
    Load("<config Application=\"\" Version=\"9\"><Count>x</Count></config>");
    EXPECT_EQ(FSerializer.Version, 9);
    EXPECT_EQ(FSerializer.LastLoad().Status, lsRejected);
}

TEST_F(XMLOptionsSerializerTest, MissingFileOrRootLeavesEverythingAlone) {
    Change();
    bool AfterLoad = false;
    FSerializer.OnAfterLoad = [&](TXMLOptionsSerializer*) {
        AfterLoad = true;
    };
    FSerializer.LoadFromFile();
    EXPECT_TRUE(AtDefaults());
    EXPECT_FALSE(AfterLoad);
    EXPECT_EQ(FSerializer.LastLoad().Status, lsNoFile);

    TXMLOptionsSerializer Unbound(nullptr);
    Unbound.XMLFilePath = FPath;
    Unbound.SaveToFile();
    Unbound.LoadFromFile();
    EXPECT_TRUE(Files().empty());
    EXPECT_EQ(Unbound.LastLoad().Status, lsNotLoaded);
}

TEST_F(XMLOptionsSerializerTest, LenientReadingOfRealWorldFiles) {
    Load("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
         "<!-- edited by hand -->\r\n"
         "<config Extra=\"x\" Version=\"1\" Application=\"\">\r\n"
         "  <Unknown><Deep>1</Deep></Unknown>\r\n"
         "  <Title attr=\"1\">Порт №1</Title>\r\n"
         "  <!-- a comment between elements -->\r\n"
         "  <Count>2147483647</Count>\r\n"
         "  <Leaves>\r\n    <Item><Caption>a</Caption></Item>\r\n"
         "    <!-- between items -->\r\n    <Item><Caption>b</Caption></Item>\r\n  </Leaves>\r\n"
         "</config>\r\n");
    ASSERT_EQ(FSerializer.LastLoad().Status, lsRead) << FSerializer.LastLoad().Reason;
    EXPECT_EQ(FRoot->Title, "Порт №1");
    EXPECT_EQ(FRoot->Count, 2147483647);
    EXPECT_EQ(FRoot->LeavesObject()->Count(), 2);

    EXPECT_EQ(Load(Config("<Count>2147483648</Count>")).Status, lsRejected);
}

TEST_F(XMLOptionsSerializerTest, ParseErrorsAndOversizedInputAreRejectedWithAReason) {
    EXPECT_EQ(Load(Config("\r\n  <Count>1</Count>\r\n  <Oops>")).Status, lsRejected);
    EXPECT_EQ(FSerializer.LastLoad().Line, 3);
    EXPECT_GT(FSerializer.LastLoad().Column, 1);
    EXPECT_NE(FSerializer.LastLoad().Reason.find("parse"), std::string::npos);

    std::string Deep;
    for (int I = 0; I < 10000; ++I)
        Deep += "<a>";
    for (int I = 0; I < 10000; ++I)
        Deep += "</a>";
    EXPECT_EQ(Load(Config(Deep)).Status, lsRejected);
    EXPECT_NE(FSerializer.LastLoad().Reason.find("nested"), std::string::npos);

    // The depth is checked whether the texts need their own check or not: the deepest text may
    // stand at the limit. The root is level 1.
    for (const char* Text : {"x", "\xC3\xA9"}) {
        const int Limit = TXMLOptionsSerializer::MaxNestingDepth;
        auto Nested = [&](int Levels) {
            std::string Body;
            for (int I = 0; I < Levels; ++I)
                Body += "<a>";
            Body += Text;
            for (int I = 0; I < Levels; ++I)
                Body += "</a>";
            return Body;
        };
        EXPECT_EQ(Load(Config(Nested(Limit - 2))).Status, lsRead) << Text;
        EXPECT_EQ(Load(Config(Nested(Limit - 1))).Status, lsRejected) << Text;
        EXPECT_NE(FSerializer.LastLoad().Reason.find("nested deeper than 64"), std::string::npos);
    }

    Write("<config Application=\"\" Version=\"1\"/>");
    fs::resize_file(FPath, TXMLOptionsSerializer::MaxFileSize + 1);
    FSerializer.LoadFromFile();
    EXPECT_EQ(FSerializer.LastLoad().Status, lsRejected);
    EXPECT_NE(FSerializer.LastLoad().Reason.find("larger"), std::string::npos);
}

TEST_F(XMLOptionsSerializerTest, SaveLeavesOnlyTheNewFile) {
    FSerializer.SaveToFile();
    EXPECT_EQ(Files(), std::vector<std::string>{"options.xml"});
    Change();
    FSerializer.SaveToFile();
    EXPECT_EQ(Files(), std::vector<std::string>{"options.xml"});
    EXPECT_NE(Read().find("<Count>77</Count>"), std::string::npos);
    EXPECT_EQ(FSerializer.DocumentBytes().Value(), Read()); // the bytes step alone

    // A backup the save did not make may be the last good content: it is kept.
    Write("earlier", "options.bak");
    FSerializer.SaveToFile();
    EXPECT_EQ(Files(), (std::vector<std::string>{"options.bak", "options.xml"}));
    EXPECT_EQ(Read("options.bak"), "earlier");
}

TEST_F(XMLOptionsSerializerTest, ValuesThatXMLCannotCarryFailTheSaveAndNameTheValue) {
    Write(Config("<Count>1</Count>"));
    const std::string Previous = Read();
    struct TCase {
        std::string Title;
        const char* Shown;
    } Cases[] = {{"1.2.3.4\x01", "1.2.3.4\\x01"},
                 {"caf\xE9", "caf\\xE9"},
                 {"\xED\xA0\x80", "\\xED\\xA0\\x80"},  // a surrogate written as UTF-8
                 {"\xEF\xBF\xBF", "\\xEF\\xBF\\xBF"}}; // U+FFFF
    for (const TCase& Case : Cases) {
        FRoot->Title = Case.Title;
        FSerializer.SaveToFile();
        EXPECT_EQ(FSerializer.LastSave().Status, ssFailed) << Case.Shown;
        EXPECT_NE(FSerializer.LastSave().Reason.find(std::string("\"") + Case.Shown +
                                                     "\" of <config/Title>"),
                  std::string::npos)
            << FSerializer.LastSave().Reason;
        EXPECT_EQ(FSerializer.DocumentBytes().Status().Text(), FSerializer.LastSave().Reason);
        EXPECT_EQ(Read(), Previous);
    }
    FRoot->Title = "tab\t, lines\r\n, Порт, \xF0\x9F\x94\x8C";
    FSerializer.SaveToFile();
    EXPECT_EQ(FSerializer.LastSave().Status, ssSaved) << FSerializer.LastSave().Reason;
    EXPECT_TRUE(IsStrictXML(FPath));

    // A file that holds such a value is refused on loading, with where it stands.
    EXPECT_EQ(Load(Config("\r\n  <Title>Порт&#1;</Title>\r\n")).Status, lsRejected);
    EXPECT_EQ(FSerializer.LastLoad().Element, "Title");
    EXPECT_EQ(FSerializer.LastLoad().Line, 2);
    EXPECT_EQ(FSerializer.LastLoad().Column, 10); // counted in characters
    EXPECT_NE(FSerializer.LastLoad().Reason.find("Порт\\x01"), std::string::npos);
    Load(Config("<Leaves><Item/><Item><Caption>\x02</Caption></Item></Leaves>"));
    EXPECT_EQ(FSerializer.LastLoad().Item, 2);
    EXPECT_EQ(FSerializer.LastLoad().Element, "Caption");
}

TEST_F(XMLOptionsSerializerTest, AFailedDocumentNamesThePlaceOrTheName) {
    auto Reason = [&] {
        TStatusOr<std::string> Bytes = FSerializer.DocumentBytes();
        return Bytes.Ok() ? std::string("written") : Bytes.Status().Text();
    };
    for (int I = 0; I < 3; ++I)
        FRoot->LeavesObject()->Add();
    static_cast<TLeaf*>(FRoot->LeavesObject()->Items(1))->Caption = "\x01";
    EXPECT_EQ(Reason(), "The value \"\\x01\" of <config/Leaves/Item[2]/Caption> holds a character "
                        "that XML 1.0 cannot carry");
    FSerializer.ApplicationName = "caf\xE9";
    EXPECT_EQ(Reason(), "The attribute Application \"caf\\xE9\" of <config> holds a character "
                        "that XML 1.0 cannot carry");
    FSerializer.ApplicationName.clear();
    FSerializer.ItemNodeCaption = "It\xE9m"; // a valid name but no UTF-8
    EXPECT_EQ(Reason().find("The element name \"It\\xE9m\""), 0u) << Reason();

    // A name that is not XML fails as it did, even after a text that cannot be written.
    FRoot->Title = "\x02";
    FSerializer.ItemNodeCaption = "1st";
    EXPECT_EQ(Reason(), "'1st' is not a valid element name");
    FSerializer.ItemNodeCaption = "Item";
    FRoot->Title.clear();
    FRoot->LeavesObject()->Clear();
    EXPECT_EQ(Reason(), "written");
}

TEST_F(XMLOptionsSerializerTest, AFailedFinalMovePutsThePreviousFileBack) {
    Write(Config("<Count>1</Count>"));
    const std::string Previous = Read();
    Change();
    FSerializer.ReplaceFault = [](platform::TReplaceStep Step) {
        if (Step == platform::rsMoveIntoPlace)
            throw std::runtime_error("disk gone");
    };
    FSerializer.SaveToFile();
    EXPECT_EQ(FSerializer.LastSave().Status, ssFailed);
    EXPECT_EQ(Read(), Previous);
    EXPECT_EQ(Files(), std::vector<std::string>{"options.xml"});

    // Once the new file stands, a failing folder flush is a remark on a save that happened.
    FSerializer.ReplaceFault = [](platform::TReplaceStep Step) {
        if (Step == platform::rsFlushFolder)
            throw std::runtime_error("flush failed");
    };
    FSerializer.SaveToFile();
    EXPECT_EQ(FSerializer.LastSave().Status, ssSaved);
    EXPECT_EQ(FSerializer.LastSave().Remark, "flush failed");
    EXPECT_NE(Read().find("<Count>77</Count>"), std::string::npos);
    EXPECT_EQ(Files(), std::vector<std::string>{"options.xml"});
}

TEST_F(XMLOptionsSerializerTest, FailedWriteKeepsThePreviousFile) {
    Write(Config("<Count>1</Count>"));
    const std::string Previous = Read();
    for (int I = 0; I < 2000; ++I)
        FRoot->LeavesObject()->Add();

#ifndef _WIN32
    // Let the process write no more than 100 bytes per file, so the new document fails half way.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit Saved{};
    getrlimit(RLIMIT_FSIZE, &Saved);
    rlimit Small = Saved;
    Small.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &Small);
    FSerializer.SaveToFile();
    setrlimit(RLIMIT_FSIZE, &Saved);

    EXPECT_EQ(FSerializer.LastSave().Status, ssFailed);
    EXPECT_FALSE(FSerializer.LastSave().Reason.empty());
    EXPECT_EQ(Read(), Previous);
    EXPECT_EQ(Files(), std::vector<std::string>{"options.xml"});
#endif // Windows has no limit on a process's file size to make a write fail with.

    // A tree that cannot be written as XML fails before anything is touched.
    FSerializer.ItemNodeCaption = "not a name";
    FSerializer.SaveToFile();
    EXPECT_EQ(FSerializer.LastSave().Status, ssFailed);
    EXPECT_EQ(Read(), Previous);
}

TEST_F(XMLOptionsSerializerTest, BackupWithoutItsFileIsRecovered) {
    Write(Config("<Count>3</Count>"), "options.bak");
    FSerializer.LoadFromFile();
    EXPECT_EQ(FSerializer.LastLoad().Status, lsRead);
    EXPECT_TRUE(FSerializer.LastLoad().RecoveredFromBackup);
    EXPECT_EQ(FRoot->Count, 3);
    EXPECT_EQ(Files(), std::vector<std::string>{"options.xml"});

    // A backup that appeared after the load is not this save's to replace: it is kept.
    fs::rename(FPath, FTemporary.File("options.bak"));
    FSerializer.SaveToFile();
    EXPECT_EQ(Files(), (std::vector<std::string>{"options.bak", "options.xml"}));
    EXPECT_NE(Read("options.bak").find("<Count>3</Count>"), std::string::npos);
}

TEST_F(XMLOptionsSerializerTest, AValueThatFailsIsPlacedByItsItemAndElement) {
    Load(Config("<Mixed><TLeaf/><TBigLeaf/><TBigLeaf><Size>x</Size></TBigLeaf></Mixed>"));
    EXPECT_EQ(FSerializer.LastLoad().Status, lsRejected);
    EXPECT_EQ(FSerializer.LastLoad().Item, 3);
    EXPECT_EQ(FSerializer.LastLoad().Element, "Size");

    EXPECT_EQ(Load(Config("<Count>x</Count>")).Item, 0);
    EXPECT_EQ(FSerializer.LastLoad().Element, "Count");
}

TEST_F(XMLOptionsSerializerTest, RejectedFileIsKeptBeforeItIsReplaced) {
    const std::string Broken = Config("<Count>1O</Count>");
    ASSERT_EQ(Load(Broken).Status, lsRejected);
    EXPECT_EQ(TXMLOptionsSerializer::RejectedCopyPath(FPath),
              FTemporary.File("options.rejected.xml"));
    FSerializer.SaveToFile();
    EXPECT_EQ(FSerializer.LastSave().KeptRejectedPath, FTemporary.File("options.rejected.xml"));
    EXPECT_EQ(Read("options.rejected.xml"), Broken);
    EXPECT_NE(Read().find("<Count>5</Count>"), std::string::npos);

    // Saving again keeps nothing more: the file is ours now.
    FSerializer.SaveToFile();
    EXPECT_EQ(Files(), (std::vector<std::string>{"options.rejected.xml", "options.xml"}));

    // A second rejected file never overwrites the first kept copy.
    Load("not xml");
    FSerializer.SaveToFile();
    EXPECT_EQ(FSerializer.LastSave().KeptRejectedPath, FTemporary.File("options.rejected-2.xml"));
    EXPECT_EQ(Read("options.rejected.xml"), Broken);
    EXPECT_EQ(Read("options.rejected-2.xml"), "not xml");

    // A file that loaded is replaced without a copy.
    FSerializer.LoadFromFile();
    FSerializer.SaveToFile();
    EXPECT_TRUE(FSerializer.LastSave().KeptRejectedPath.empty());
    EXPECT_EQ(Files().size(), 3u);
}

// Each answer is the caller's own: later loads and saves leave it as it was.
TEST_F(XMLOptionsSerializerTest, AnAnswerOutlastsTheNextCalls) {
    Write("not xml");
    const TXMLLoadResult& Rejected = FSerializer.LoadFromFile();
    const TXMLSaveResult& KeptACopy = FSerializer.SaveToFile();
    FSerializer.LoadFromFile();
    FSerializer.SaveToFile();
    EXPECT_EQ(Rejected.Status, lsRejected);
    EXPECT_EQ(KeptACopy.KeptRejectedPath, FTemporary.File("options.rejected.xml"));
    EXPECT_EQ(FSerializer.LastLoad().Status, lsRead);
    EXPECT_TRUE(FSerializer.LastSave().KeptRejectedPath.empty());
}
