#include "dialogs/PortFields.h"

#include "base/Exceptions.h"
#include "base/IntegerConversion.h"
#include "dialogs/PortChoices.h"

namespace q7n {

TPortFields PortToFields(const TQ7NPort& Port) {
    TPortFields Fields;
    Fields.IP = Port.IP();
    Fields.RemoutePort = std::to_string(Port.RemoutePort());
    Fields.LocalPort = std::to_string(Port.LocalPort());
    Fields.COMPortEntry = Port.COMPort() - 1;
    Fields.RateEntry = OfferedPortRateIndex(Port.CpRate());
    return Fields;
}

void FieldsToPort(const TPortFields& Fields, TQ7NPort& Port, TPortField* Failed) {
    TPortField Step = TPortField::pfIP;
    try {
        Port.SetIP(Fields.IP);
        Step = TPortField::pfRemoutePort;
        Port.SetRemoutePort(StrToInt(Fields.RemoutePort));
        Step = TPortField::pfLocalPort;
        Port.SetLocalPort(StrToInt(Fields.LocalPort));
        Step = TPortField::pfCOMPort;
        Port.SetCOMPort(Fields.COMPortEntry + 1);
        Step = TPortField::pfRate;
        if (Fields.RateEntry < 0 ||
            static_cast<std::size_t>(Fields.RateEntry) >= OfferedPortRates.size())
            throw EListError(Fields.RateEntry);
        Port.SetCpRate(OfferedPortRates[static_cast<std::size_t>(Fields.RateEntry)].Rate);
    } catch (...) {
        if (Failed)
            *Failed = Step;
        throw;
    }
}

} // namespace q7n
