#pragma once

#include "Q7NPort.h"
#include "XMLOptionsSerializer.h"

#include <memory>
#include <string>

namespace q7n {

// The port configuration bound to its file: a root of mappings and the serializer that reads and
// writes it. One document serves one edit: create, Load, edit Options, Save, free.
class TQ7NDocument {
public:
    TQ7NDocument();
    TQ7NDocument(const TQ7NDocument&) = delete;
    TQ7NDocument& operator=(const TQ7NDocument&) = delete;
    ~TQ7NDocument();

    TQ7NOptions* Options() const { return FOptions.get(); }

    // Reads FileName into Options; a missing or unacceptable file leaves an empty list
    // (LastLoad says which and why).
    void Load(const std::string& FileName);
    // Writes Options to FileName; a failure leaves the previous file (LastSave says why).
    void Save(const std::string& FileName);

    const TXMLLoadResult& LastLoad() const { return FSerializer->LastLoad(); }
    const TXMLSaveResult& LastSave() const { return FSerializer->LastSave(); }

private:
    std::unique_ptr<TQ7NOptions> FOptions;
    std::unique_ptr<TXMLOptionsSerializer> FSerializer;
};

} // namespace q7n
