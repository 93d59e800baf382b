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

// How many mappings the ports file at Path holds.
inline int MappingsIn(const std::string& Path) {
    TQ7NDocument Document;
    Document.Load(Path);
    return Document.Options()->Q7NPorts()->Count();
}

} // namespace q7n::testing
