#pragma once

#include "ports/Q7NDocument.h"

#include <stdexcept>
#include <string>

namespace q7n::testing {

// Another program's change of the ports file at Path, as q7nctl makes it: load, append a
// mapping with IP, save.
inline void AddMappingElsewhere(const std::string& Path, const std::string& IP) {
    TQ7NDocument Other;
    Other.Load(Path);
    Other.Options()->Q7NPorts()->Add()->SetIP(IP);
    if (const TXMLSaveResult& Saved = Other.Save(Path); !Saved)
        throw std::runtime_error("cannot save " + Path + ": " + Saved.Reason);
}

// A mapping as one line, for comparing all of it at once: "IP:remote -> local, COMn at rate".
inline std::string PortText(const TQ7NPort& Port) {
    return Port.IP() + ":" + std::to_string(Port.RemoutePort()) + " -> " +
           std::to_string(Port.LocalPort()) + ", COM" + std::to_string(Port.COMPort()) + " at " +
           std::to_string(Port.CpRate());
}

// How many mappings the ports file at Path holds.
inline int MappingsIn(const std::string& Path) {
    TQ7NDocument Document;
    Document.Load(Path);
    return Document.Options()->Q7NPorts()->Count();
}

} // namespace q7n::testing
