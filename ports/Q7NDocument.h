#pragma once

#include "platform/FileLock.h"
#include "ports/Q7NPort.h"
#include "xmloptions/XMLOptionsSerializer.h"

#include <chrono>
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

    // Reads FileName into Options; a missing or unacceptable file leaves an empty list (the
    // result, also LastLoad, says which and why).
    TXMLLoadResult Load(const std::string& FileName);
    // Writes Options to FileName; a failure leaves the previous file (the result, also LastSave,
    // says why).
    [[nodiscard]] TXMLSaveResult Save(const std::string& FileName);

    // The bytes that Save writes, without writing them: the options as the file's text.
    TStatusOr<std::string> Bytes() const { return FSerializer->DocumentBytes(); }

    TXMLLoadResult LastLoad() const { return FSerializer->LastLoad(); }
    TXMLSaveResult LastSave() const { return FSerializer->LastSave(); }

    // Whether another program changed, created or removed the file since the latest Load or
    // Save of this document; false when that cannot be told.
    bool ChangedOnDisk() const { return FSerializer->FileChangedOnDisk(); }

    // The lock that our programs take on the ports file FileName: shared while they read it,
    // exclusive from the check before a save until the save is done. It lives in a file of its
    // own beside it ("Q7NPorts.lock"), so the service, which knows nothing of it, always reads
    // the ports file. Holds nothing when another holder kept it for all of Wait, which pauses as
    // Pause says (none: it sleeps).
    static platform::TFileLock Lock(const std::string& FileName, platform::TLockMode Mode,
                                    std::chrono::milliseconds Wait,
                                    const platform::TLockPause& Pause = {}) {
        return platform::TFileLock::Acquire(TXMLOptionsSerializer::LockPath(FileName), Mode, Wait,
                                            Pause);
    }

private:
    std::unique_ptr<TQ7NOptions> FOptions;
    std::unique_ptr<TXMLOptionsSerializer> FSerializer;
};

} // namespace q7n
