#include "base/Exceptions.h"
#include "dialogs/AccessKey.h"
#include "dialogs/PortChoices.h"
#include "dialogs/PortFields.h"
#include "dialogs/PortListEditor.h"
#include "dialogs/PortRowMarks.h"

#include <gtest/gtest.h>

using namespace q7n;

namespace {

void ExpectFields(const TPortFields& Fields, const std::string& IP, const std::string& RemoutePort,
                  const std::string& LocalPort, int COMPortEntry, int RateEntry) {
    EXPECT_EQ(Fields.IP, IP);
    EXPECT_EQ(Fields.RemoutePort, RemoutePort);
    EXPECT_EQ(Fields.LocalPort, LocalPort);
    EXPECT_EQ(Fields.COMPortEntry, COMPortEntry);
    EXPECT_EQ(Fields.RateEntry, RateEntry);
}

std::string ErrorOf(const TPortFields& Fields, TQ7NPort& Port) {
    try {
        FieldsToPort(Fields, Port);
    } catch (const Exception& Error) {
        return Error.what();
    }
    return "";
}

std::vector<int> LocalPorts(TPortListEditor& Editor) {
    std::vector<int> Values;
    Values.reserve(static_cast<std::size_t>(Editor.Count()));
    for (int Row = 0; Row < Editor.Count(); ++Row)
        Values.push_back(Editor.Port(Row).LocalPort());
    return Values;
}

} // namespace

TEST(PortFields, ShowTheRecordAndTheListEntries) {
    auto Port = TXMLClass::Create<TQ7NPort>(nullptr);
    ExpectFields(PortToFields(*Port), "192.168.1.6", "8080", "8080", 0, 6);
    EXPECT_STREQ(OfferedPortRates[6].Text, "br9600");

    Port->SetCOMPort(256);
    Port->SetCpRate(115200);
    TPortFields Fields = PortToFields(*Port);
    EXPECT_EQ(COMPortText(Fields.COMPortEntry + 1), "COM256");
    EXPECT_STREQ(OfferedPortRates[static_cast<std::size_t>(Fields.RateEntry)].Text, "br115200");
    EXPECT_EQ(static_cast<std::size_t>(Fields.RateEntry), OfferedPortRates.size() - 1);

    Port->SetCpRate(250000); // read from a file; not offered
    EXPECT_EQ(PortToFields(*Port).RateEntry, -1);
}

TEST(PortFields, TakingOverStopsAtTheFailingStep) {
    auto Port = TXMLClass::Create<TQ7NPort>(nullptr);
    TPortFields Fields{"", "abc", "-1", 11, 12};

    // The IP is taken before the remote port fails; nothing after it is.
    EXPECT_EQ(ErrorOf(Fields, *Port), "'abc' is not a valid integer value");
    EXPECT_EQ(Port->IP(), "");
    EXPECT_EQ(Port->LocalPort(), 8080);

    Fields.RemoutePort = " $1F90";
    Fields.LocalPort = "70000 ";
    EXPECT_EQ(ErrorOf(Fields, *Port), "'70000 ' is not a valid integer value");
    EXPECT_EQ(Port->RemoutePort(), 8080);

    Fields.LocalPort = "-1";
    Fields.RateEntry = -1;
    EXPECT_EQ(ErrorOf(Fields, *Port), "List index out of bounds (-1)");
    EXPECT_EQ(Port->COMPort(), 12);
    EXPECT_EQ(Port->CpRate(), 9600);

    Fields.RateEntry = 12;
    EXPECT_EQ(ErrorOf(Fields, *Port), "");
    EXPECT_EQ(Port->LocalPort(), -1);
    EXPECT_EQ(Port->CpRate(), 115200);
}

TEST(PortListEditor, WorksOnACopyAndKeepsItsRules) {
    auto Caller = TXMLClass::Create<TQ7NPorts>(nullptr);
    for (int LocalPort : {10, 11, 12, 13, 14})
        Caller->Add()->SetLocalPort(LocalPort);
    TPortListEditor Editor;

    // Cancel after changes leaves the caller's list as it was.
    EXPECT_FALSE(Editor.Execute(Caller.get(), [&] {
        Editor.UpdateItem(-1, *Caller->Items(0));
        Editor.DeleteRows({0, 1});
        return false;
    }));
    EXPECT_EQ(Caller->Count(), 5);
    EXPECT_EQ(Caller->Items(0)->LocalPort(), 10);

    EXPECT_TRUE(Editor.Execute(Caller.get(), [&] {
        EXPECT_EQ(LocalPorts(Editor), (std::vector<int>{10, 11, 12, 13, 14}));
        // Edit opens the port editor only on exactly one row.
        std::vector<int> Edited;
        auto EditPort = [&Edited](TQ7NPort& Port) {
            Edited.push_back(Port.LocalPort());
            return true;
        };
        EXPECT_EQ(Editor.Edit({}, EditPort), std::nullopt);
        EXPECT_EQ(Editor.Edit({1, 3}, EditPort), std::nullopt);
        EXPECT_EQ(Editor.Edit({3}, EditPort), 3);
        EXPECT_EQ(Edited, (std::vector<int>{13}));

        auto Added = TXMLClass::Create<TQ7NPort>(nullptr);
        Added->SetLocalPort(15);
        Added->SetCOMPort(12);
        Added->SetCpRate(250000);
        EXPECT_EQ(Editor.UpdateItem(-1, *Added), 5);
        EXPECT_EQ(Editor.CellText(5, pcCOMPort), "COM12");
        EXPECT_EQ(Editor.CellText(5, pcCpRate), "250000");

        // Asked also with nothing selected; a No keeps everything.
        std::vector<std::string> Asked;
        auto Answer = [&Asked](bool Yes) {
            return [&Asked, Yes](const std::string& Text) {
                Asked.push_back(Text);
                return Yes;
            };
        };
        EXPECT_EQ(Editor.ConfirmDelete({0}, Answer(false)), std::vector<int>{});
        EXPECT_EQ(Editor.ConfirmDelete({}, Answer(true)), std::vector<int>{});
        Editor.DeleteRows(Editor.ConfirmDelete({4, 0, 2, 9}, Answer(true)));
        EXPECT_EQ(Asked, std::vector<std::string>(3, "Delete items?"));
        EXPECT_EQ(LocalPorts(Editor), (std::vector<int>{11, 13, 15}));
        return true;
    }));
    ASSERT_EQ(Caller->Count(), 3);
    EXPECT_EQ(Caller->Items(2)->LocalPort(), 15);
    EXPECT_EQ(Caller->Items(2)->CpRate(), 250000);
}

TEST(PortListEditor, AccessKeysComeFromTheCaptions) {
    EXPECT_EQ(AccessKeyOf("Save && E&xit"), 'x');
    EXPECT_EQ(AccessKeyOf("OK&"), 0);
    EXPECT_EQ(PortListCommandOfKey('E'), plcEdit);
    EXPECT_EQ(PortListCommandOfKey('x'), std::nullopt);
}

TEST(PortRowMarks, MarkTheFlaggedRowsAndFollowTheList) {
    auto Ports = TXMLClass::Create<TQ7NPorts>(nullptr);
    for (int COMPort : {1, 2, 3})
        Ports->Add()->SetCOMPort(COMPort); // all on local port 8080
    Ports->Items(1)->SetLocalPort(4001);
    TPortRowMarks Marks;
    Marks.Update(Ports.get());
    EXPECT_TRUE(Marks.Marked(0));
    EXPECT_FALSE(Marks.Marked(1));
    EXPECT_EQ(Marks.Tip(2), "Row 3:\nlocal port 8080 is also used by row 1");
    EXPECT_EQ(Marks.Tip(1), "");
    EXPECT_FALSE(Marks.Marked(-1));
    EXPECT_FALSE(Marks.Marked(3));

    // An edit can mark a row it did not touch; every finding of a row is in its tip.
    Ports->Items(2)->SetCOMPort(2);
    Ports->Items(2)->SetIP("<b>x</b>");
    Ports->Items(2)->SetCpRate(250000);
    Marks.Update(Ports.get());
    EXPECT_TRUE(Marks.Marked(1));
    EXPECT_EQ(Marks.Tip(2), "Row 3:\n"
                            "local port 8080 is also used by row 1\n"
                            "COM2 is also used by row 2\n"
                            "rate 250000 is not one the port editor offers\n"
                            "IP \"<b>x</b>\" is neither an IPv4 address nor a host name");

    // After a deletion the rows are counted anew.
    Ports->Delete(0);
    Marks.Update(Ports.get());
    EXPECT_EQ(Marks.Tip(1), "Row 2:\nCOM2 is also used by row 1\n"
                            "rate 250000 is not one the port editor offers\n"
                            "IP \"<b>x</b>\" is neither an IPv4 address nor a host name");

    Marks.Update(nullptr);
    EXPECT_FALSE(Marks.Marked(0));
}

// Finds every mapping on COM9 missing, and counts how often it was asked.
struct TComNineMissing final : IMachineCheck {
    int Calls = 0;
    std::vector<TMachineFinding> CheckRows(const TQ7NPorts& Ports) override {
        ++Calls;
        std::vector<TMachineFinding> Found;
        for (int Row = Ports.Count(); Row >= 1; --Row) // out of order: the marks sort them
            if (Ports.Items(Row - 1)->COMPort() == 9)
                Found.push_back({Row, mfComPortMissing, "COM9 is not present on this machine", ""});
        return Found;
    }
};

TEST(PortListEditor, AsksTheMachineWhenItOpensAndAfterEachChangeNeverToDraw) {
    auto Ports = TXMLClass::Create<TQ7NPorts>(nullptr);
    Ports->Add()->SetCOMPort(9);
    Ports->Add()->SetCOMPort(2);
    Ports->Items(1)->SetLocalPort(4001);
    TComNineMissing Machine;
    TPortListEditor Editor;
    Editor.SetMachineCheck(&Machine);
    Editor.Execute(Ports.get(), [&] {
        EXPECT_EQ(Machine.Calls, 1);
        for (int Draw = 0; Draw < 3; ++Draw)
            EXPECT_TRUE(Editor.Marked(0) && !Editor.Marked(1));
        EXPECT_EQ(Editor.Tip(0), "Row 1:\nCOM9 is not present on this machine");

        auto Added = TXMLClass::Create<TQ7NPort>(nullptr);
        Added->SetCOMPort(9); // as row 1: the file's findings and the machine's in one tip
        Editor.UpdateItem(-1, *Added);
        EXPECT_EQ(Editor.Tip(2), "Row 3:\nlocal port 8080 is also used by row 1\n"
                                 "COM9 is also used by row 1\nCOM9 is not present on this machine");
        EXPECT_EQ(Editor.FindingsLine({1, 2}),
                  "Row 3: local port 8080 is also used by row 1; COM9 is also used by row 1; "
                  "COM9 is not present on this machine");
        EXPECT_EQ(Editor.FindingsLine({0, 1, 2}),
                  "Row 1: local port 8080 is also used by row 3; COM9 is also used by row 3; "
                  "COM9 is not present on this machine (1 more selected row has findings)");
        EXPECT_EQ(Editor.FindingsLine({1}), "");
        EXPECT_EQ(Editor.FindingsLine({}), "");
        Editor.DeleteRows({0});
        EXPECT_TRUE(!Editor.Marked(0) && Editor.Marked(1));
        EXPECT_EQ(Machine.Calls, 3);
        return false;
    });
}
