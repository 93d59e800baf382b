#pragma once

#include "ports/Q7NPort.h"

#include <memory>

namespace q7n {

// The few mappings that the pictures of the port list editor show, the same on every toolkit; the
// last two share a COM port, so that the pictures show how the editor marks such rows.
// The row that the pictures show selected: a marked one, so that the line under the table tells
// its findings.
constexpr int PicturedSelectedRow = 3;

inline std::unique_ptr<TQ7NPorts> PicturedPorts() {
    auto Ports = TXMLClass::Create<TQ7NPorts>(nullptr);
    struct TRow {
        const char* Ip;
        int Remote, Local, Com, Rate;
    };
    for (const TRow& Row :
         {TRow{"192.168.1.6", 8080, 8080, 1, 9600}, TRow{"192.168.1.7", 4001, 4001, 2, 115200},
          TRow{"10.0.0.15", 502, 1502, 5, 19200}, TRow{"10.0.0.16", 502, 1503, 5, 19200}}) {
        TQ7NPort* Port = Ports->Add();
        Port->SetIP(Row.Ip);
        Port->SetRemoutePort(Row.Remote);
        Port->SetLocalPort(Row.Local);
        Port->SetCOMPort(Row.Com);
        Port->SetCpRate(Row.Rate);
    }
    return Ports;
}

} // namespace q7n
