#pragma once

#include "ports/Q7NPort.h"

#include <string>

namespace q7n {

// What the controls of the port editor hold.
struct TPortFields {
    std::string IP;
    std::string RemoutePort;
    std::string LocalPort;
    int COMPortEntry = -1; // the selected entry of the COM port list; -1 for none
    int RateEntry = -1;    // the selected entry of OfferedPortRates; -1 for none
};

// The port editor's fields, in the order its OK takes them over.
enum class TPortField { pfIP, pfRemoutePort, pfLocalPort, pfCOMPort, pfRate };
constexpr int PortFieldCount = 5;

// Port as the editor shows it; no rate is selected when the list does not offer Port's.
TPortFields PortToFields(const TQ7NPort& Port);

// The OK of the port editor: IP, remote port, local port, COM port and rate go into Port in this
// order, each through the record's write rule. A port text that is no integer raises
// EConvertError, a rate with no entry selected EListError(-1); either stops at its step, and the
// values taken before it stay in Port. Failed, when given, then names the field of that step, to
// which the editor returns the focus.
void FieldsToPort(const TPortFields& Fields, TQ7NPort& Port, TPortField* Failed = nullptr);

} // namespace q7n
