#include "ports/Q7NPort.h"

namespace q7n {

const TPropertyTable& TQ7NPort::ClassProperties() {
    static const TPropertyTable Table =
        TPropertyTableBuilder<TQ7NPort>(TXMLClass::ClassProperties())
            .String("IP", &TQ7NPort::IP, &TQ7NPort::SetIP)
            .Integer("RemoutePort", &TQ7NPort::RemoutePort, &TQ7NPort::SetRemoutePort)
            .Integer("LocalPort", &TQ7NPort::LocalPort, &TQ7NPort::SetLocalPort)
            .Integer("COMPort", &TQ7NPort::COMPort, &TQ7NPort::SetCOMPort)
            .Integer("CpRate", &TQ7NPort::CpRate, &TQ7NPort::SetCpRate)
            .Build();
    return Table;
}

void TQ7NPort::SetDefaults() {
    TXMLClass::SetDefaults();
    static const std::string DefaultIP = "192.168.1.6"; // made once: a load makes every mapping
    SetIP(DefaultIP);
    SetRemoutePort(8080);
    SetLocalPort(8080);
    SetCOMPort(1);
    SetCpRate(9600);
}

void TQ7NPort::SetCOMPort(std::int32_t Value) {
    if (Value >= 1 && Value <= 256)
        FCOMPort = Value;
}

void TQ7NPort::SetCpRate(std::int32_t Value) {
    if (Value > 0)
        FCpRate = Value;
}

TQ7NOptions::TQ7NOptions(TXMLClass* Owner) : TXMLClass(Owner), FQ7NPorts(Create<TQ7NPorts>(this)) {}

const TPropertyTable& TQ7NOptions::ClassProperties() {
    static const TPropertyTable Table =
        TPropertyTableBuilder<TQ7NOptions>(TXMLClass::ClassProperties())
            .Object("Q7NPorts", &TQ7NOptions::Q7NPorts)
            .Build();
    return Table;
}

void TQ7NOptions::SetDefaults() {
    TXMLClass::SetDefaults();
    FQ7NPorts->SetDefaults();
}

} // namespace q7n
