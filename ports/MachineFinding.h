#pragma once

#include "ports/Q7NPort.h"

#include <string>
#include <vector>

namespace q7n {

// What only the machine can tell about the mappings and the service: why a mapping that the file
// holds well may still not work.
enum TMachineFindingKind {
    mfComPortMissing,      // the mapping's COM port is not present on this machine
    mfLocalPortTaken,      // another program listens on the mapping's local port
    mfNotListening,        // the service runs, yet nothing listens on the mapping's local port
    mfRegisteredElsewhere, // the service is registered with another program than this folder's
    mfProgramMissing,      // this folder's service program does not exist
    mfStoppedWithError,    // the service is stopped and its last run ended with an error
};

// The stable name of a kind, as q7nctl's JSON gives it ("comPortMissing", ...).
const char* MachineFindingKindName(TMachineFindingKind Kind);

struct TMachineFinding {
    int Row = 0; // the mapping's row, from 1; 0 for what concerns the service as a whole
    TMachineFindingKind Kind = mfProgramMissing;
    // What is wrong, without the row, such as "COM7 is not present on this machine".
    std::string Text;
    // The other party where there is one: "process 812 (C:\Tools\listener.exe)", the
    // registered command line; empty otherwise.
    std::string Other;
};

// Looks at the machine for what stands in the way of the mappings of a list. Each call reads the
// machine afresh, so callers call it when the list changes, not when they draw it.
class IMachineCheck {
public:
    // The findings of the rows of Ports, by row.
    virtual std::vector<TMachineFinding> CheckRows(const TQ7NPorts& Ports) = 0;

protected:
    ~IMachineCheck() = default;
};

} // namespace q7n
