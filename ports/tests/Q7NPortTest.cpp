#include "ports/Q7NPort.h"

#include "ports/testsupport/PortsFileByHand.h"

#include <gtest/gtest.h>

using namespace q7n;
using q7n::testing::PortText;

TEST(Q7NPort, StartsWithTheDefaults) {
    auto Port = TXMLClass::Create<TQ7NPort>(nullptr);
    EXPECT_EQ(PortText(*Port), "192.168.1.6:8080 -> 8080, COM1 at 9600");

    TQ7NPorts List(nullptr);
    TQ7NPort* Item = List.Add();
    EXPECT_EQ(Item->Owner(), &List);
    EXPECT_EQ(Item->IP(), "192.168.1.6");
}

TEST(Q7NPort, WriteRulesGuardComPortAndRate) {
    auto Port = TXMLClass::Create<TQ7NPort>(nullptr);
    Port->SetCOMPort(12);
    for (int Rejected : {0, -1, 257})
        Port->SetCOMPort(Rejected);
    EXPECT_EQ(Port->COMPort(), 12);
    Port->SetCOMPort(256);
    EXPECT_EQ(Port->COMPort(), 256);
    Port->SetCOMPort(1);
    EXPECT_EQ(Port->COMPort(), 1);

    Port->SetCpRate(0);
    Port->SetCpRate(-9600);
    EXPECT_EQ(Port->CpRate(), 9600);
    Port->SetCpRate(250000);
    EXPECT_EQ(Port->CpRate(), 250000);

    // No checks on the other three.
    Port->SetRemoutePort(-1);
    Port->SetLocalPort(70000);
    Port->SetIP("");
    EXPECT_EQ(PortText(*Port), ":-1 -> 70000, COM1 at 250000");
    Port->SetIP("not an address");
    EXPECT_EQ(Port->IP(), "not an address");
}

TEST(Q7NPorts, CopyReplacesTheTargetRecords) {
    TQ7NPorts Source(nullptr), Target(nullptr);
    for (int I = 0; I < 3; ++I) {
        TQ7NPort* Port = Source.Add();
        Port->SetIP("10.0.0." + std::to_string(I));
        Port->SetCOMPort(I + 2);
        Port->SetCpRate(115200);
    }
    for (int I = 0; I < 5; ++I)
        Target.Add();

    Target.CopyFrom(&Source);
    ASSERT_EQ(Target.Count(), 3);
    for (int I = 0; I < 3; ++I) {
        EXPECT_NE(Target.Items(I), Source.Items(I));
        EXPECT_EQ(Target.Items(I)->Owner(), &Target);
        EXPECT_EQ(Target.Items(I)->IP(), Source.Items(I)->IP());
        EXPECT_EQ(Target.Items(I)->COMPort(), I + 2);
        EXPECT_EQ(Target.Items(I)->CpRate(), 115200);
    }

    auto Single = TXMLClass::Create<TQ7NPort>(nullptr);
    Single->CopyFrom(Source.Items(2));
    EXPECT_EQ(PortText(*Single), "10.0.0.2:8080 -> 8080, COM4 at 115200");
}

TEST(Q7NOptions, OwnsOneListThatResetEmpties) {
    auto Options = TXMLClass::Create<TQ7NOptions>(nullptr);
    TQ7NPorts* List = Options->Q7NPorts();
    ASSERT_NE(List, nullptr);
    EXPECT_EQ(List->Owner(), Options.get());
    EXPECT_EQ(List->Count(), 0);
    List->Add();
    List->Add();
    Options->ResetToDefaults();
    EXPECT_EQ(Options->Q7NPorts(), List);
    EXPECT_EQ(List->Count(), 0);

    auto Other = TXMLClass::Create<TQ7NOptions>(nullptr);
    Other->Q7NPorts()->Add()->SetLocalPort(1);
    Options->CopyFrom(Other.get());
    EXPECT_EQ(Options->Q7NPorts(), List); // filled, never replaced
    ASSERT_EQ(List->Count(), 1);
    EXPECT_EQ(List->Items(0)->LocalPort(), 1);
}
