#include "ports/Q7NDocument.h"

#include "base/testsupport/TemporaryFolder.h"
#include "platform/FileSystem.h"
#include "ports/testsupport/PortsFileByHand.h"
#include "xmloptions/testsupport/StrictXML.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace q7n;
using q7n::testing::PortText;
namespace fs = std::filesystem;

namespace {

class Q7NDocumentTest : public ::testing::Test {
protected:
    void SetUp() override { FPath = (FFolder / "Q7NPorts.xml").string(); }

    void Write(const std::string& Text) { std::ofstream(FPath, std::ios::binary) << Text; }
    std::string Read() const { return platform::ReadWholeFile(FPath); }
    static std::string InConfig(const std::string& Ports) {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<config Application=\"\" "
               "Version=\"1\">"
               "<Q7NPorts>" +
               Ports + "</Q7NPorts></config>";
    }

    q7n::testing::TTemporaryFolder FTemporary;
    const fs::path& FFolder = FTemporary.Path();
    std::string FPath;
};

} // namespace

TEST_F(Q7NDocumentTest, WritesTheServiceFileLayoutExactly) {
    TQ7NDocument Document;
    ASSERT_TRUE(Document.Save(FPath));
    EXPECT_EQ(Read(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                      "<config Application=\"\" Version=\"1\">\r\n"
                      "  <Q7NPorts/>\r\n"
                      "</config>\r\n");

    Document.Options()->Q7NPorts()->Add();
    Document.Options()->Q7NPorts()->Add();
    ASSERT_TRUE(Document.Save(FPath));
    const std::string Item = "    <Item>\r\n"
                             "      <IP>192.168.1.6</IP>\r\n"
                             "      <RemoutePort>8080</RemoutePort>\r\n"
                             "      <LocalPort>8080</LocalPort>\r\n"
                             "      <COMPort>1</COMPort>\r\n"
                             "      <CpRate>9600</CpRate>\r\n"
                             "    </Item>\r\n";
    EXPECT_EQ(Read(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                      "<config Application=\"\" Version=\"1\">\r\n"
                      "  <Q7NPorts>\r\n" +
                          Item + Item +
                          "  </Q7NPorts>\r\n"
                          "</config>\r\n");
    EXPECT_TRUE(q7n::testing::IsStrictXML(FPath));
}

TEST_F(Q7NDocumentTest, TextBetweenItemsIsNoMapping) {
    Write(InConfig("junk"));
    TQ7NDocument Document;
    Document.Load(FPath);
    EXPECT_EQ(Document.LastLoad().Status, lsRead);
    EXPECT_EQ(Document.Options()->Q7NPorts()->Count(), 0);

    Write(InConfig("<Item><COMPort>2</COMPort></Item>junk<Item><COMPort>3</COMPort></Item>end"));
    Document.Load(FPath);
    ASSERT_EQ(Document.Options()->Q7NPorts()->Count(), 2);
    EXPECT_EQ(Document.Options()->Q7NPorts()->Items(1)->COMPort(), 3);
}

TEST_F(Q7NDocumentTest, LoadAppliesDefaultsAndWriteRules) {
    Write(InConfig("<Item><COMPort>0</COMPort><CpRate>-5</CpRate><IP>10.1.1.1</IP></Item>"
                   "<Item><CpRate>250000</CpRate><COMPort>300</COMPort><LocalPort>-1</LocalPort>"
                   "<RemoutePort>70000</RemoutePort></Item>"
                   "<Item><IP>адрес</IP><COMPort>256</COMPort><IP>second</IP></Item>"));
    TQ7NDocument Document;
    Document.Load(FPath);
    TQ7NPorts* Ports = Document.Options()->Q7NPorts();
    ASSERT_EQ(Ports->Count(), 3);
    EXPECT_EQ(PortText(*Ports->Items(0)), "10.1.1.1:8080 -> 8080, COM1 at 9600");
    EXPECT_EQ(PortText(*Ports->Items(1)), "192.168.1.6:70000 -> -1, COM1 at 250000");
    EXPECT_EQ(PortText(*Ports->Items(2)), "адрес:8080 -> 8080, COM256 at 9600");
}

TEST_F(Q7NDocumentTest, UnacceptableFilesLoadAsAnEmptyList) {
    const char* Files[] = {
        "<?xml version=\"1.0\"?><Config Application=\"\" "
        "Version=\"1\"><Q7NPorts><Item/></Q7NPorts></Config>",
        "<config Version=\"1\"><Q7NPorts><Item/></Q7NPorts></config>",
        "<config Application=\"x\" Version=\"1\"><Q7NPorts><Item/></Q7NPorts></config>",
        "<config Application=\"\" Version=\"1\"><Q7NPorts><Item/><Item><LocalPort>80a</LocalPort>"
        "</Item></Q7NPorts></config>",
        "<config Application=\"\" Version=\"1\"><Q7NPorts><Item><CpRate>99999999999</CpRate>"
        "</Item></Q7NPorts></config>",
        "",
        "\xFF\xFE",
    };
    for (const char* Text : Files) {
        Write(Text);
        TQ7NDocument Document;
        Document.Load(FPath);
        EXPECT_EQ(Document.Options()->Q7NPorts()->Count(), 0) << Text;
        EXPECT_EQ(Document.LastLoad().Status, lsRejected) << Text;
    }

    TQ7NDocument Document;
    Document.Load((FFolder / "missing.xml").string());
    EXPECT_EQ(Document.Options()->Q7NPorts()->Count(), 0);
    EXPECT_EQ(Document.LastLoad().Status, lsNoFile);
}

TEST_F(Q7NDocumentTest, LoadThenSaveKeepsTheMappingsAndLoadsDoNotAccumulate) {
    {
        TQ7NDocument Document;
        for (int I = 0; I < 4; ++I) {
            TQ7NPort* Port = Document.Options()->Q7NPorts()->Add();
            Port->SetIP("10.0.0." + std::to_string(I));
            Port->SetRemoutePort(4000 + I);
            Port->SetCOMPort(I + 1);
        }
        ASSERT_TRUE(Document.Save(FPath));
    }
    const std::string First = Read();

    TQ7NDocument Document;
    Document.Load(FPath);
    Document.Load(FPath);
    ASSERT_EQ(Document.Options()->Q7NPorts()->Count(), 4);
    EXPECT_EQ(PortText(*Document.Options()->Q7NPorts()->Items(3)),
              "10.0.0.3:4003 -> 8080, COM4 at 9600");
    ASSERT_TRUE(Document.Save(FPath));
    EXPECT_EQ(Read(), First);
}

TEST_F(Q7NDocumentTest, FilesFromOtherEditorsLoad) {
    // UTF-16 with a byte-order mark, as some editors save.
    std::u16string Text = u"\uFEFF<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
                          u"<config Application=\"\" Version=\"1\"><Q7NPorts><Item><IP>Порт</IP>"
                          u"</Item></Q7NPorts></config>";
    Write(std::string(reinterpret_cast<const char*>(Text.data()), Text.size() * 2));
    TQ7NDocument Document;
    Document.Load(FPath);
    ASSERT_EQ(Document.Options()->Q7NPorts()->Count(), 1) << Document.LastLoad().Reason;
    EXPECT_EQ(Document.Options()->Q7NPorts()->Items(0)->IP(), "Порт");
}

TEST_F(Q7NDocumentTest, SeesEveryChangeOnDiskButItsOwnSave) {
    TQ7NDocument Document;
    Document.Load(FPath); // no file yet
    EXPECT_FALSE(Document.ChangedOnDisk());
    Write(InConfig("<Item><LocalPort>8080</LocalPort></Item>"));
    EXPECT_TRUE(Document.ChangedOnDisk()); // created by another program

    Document.Load(FPath);
    EXPECT_FALSE(Document.ChangedOnDisk());
    Write(InConfig("<Item><LocalPort>8081</LocalPort></Item>")); // one digit, same size
    EXPECT_TRUE(Document.ChangedOnDisk());

    ASSERT_TRUE(Document.Save(FPath));
    EXPECT_FALSE(Document.ChangedOnDisk());
    fs::remove(FPath);
    EXPECT_TRUE(Document.ChangedOnDisk());
}
