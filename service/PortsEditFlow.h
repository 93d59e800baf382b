#pragma once

#include "service/PortsEditDialogs.h"
#include "service/PortsEditFlowInterface.h"

#include <chrono>

namespace q7n {

class TdmServiceOptions;
class TQ7NDocument;

// The ports edit: load the ports file, let the user edit its mappings, save it, record its path
// in the settings and, when the service was last seen running, offer to restart it.
class TPortsEditFlow final : public IPortsEditFlow {
public:
    // How long the flow waits for another program of ours (q7nctl, another configurator) to
    // finish with the ports file before it asks; the windows go on meanwhile (WaitModally).
    static constexpr std::chrono::milliseconds DefaultLockWait{3000};

    // Settings is where the path of a saved file is recorded. Both must outlive the flow.
    TPortsEditFlow(IPortsEditDialogs& Dialogs, TdmServiceOptions& Settings,
                   std::chrono::milliseconds LockWait = DefaultLockWait)
        : FDialogs(Dialogs), FSettings(Settings), FLockWait(LockWait) {}

    // What the list editor asks of the machine to mark the rows it stands in the way of (none:
    // the file's checks alone); it must outlive the flow.
    void SetMachineCheck(IMachineCheck* Machine) { FMachine = Machine; }

    bool Run(const std::string& PortsFile,
             const std::function<TServiceState()>& LastState) override;

private:
    // The ports file's lock in Mode, waited for modally for at most FLockWait.
    platform::TFileLock LockModally(const std::string& PortsFile, platform::TLockMode Mode);
    void LoadUnlessSaved(TQ7NDocument& Document, const std::string& PortsFile);
    // Saves the edited Document under the file's lock, unless the file changed since it was
    // loaded and the user keeps that change, or another program's save holds it and the user
    // stops waiting; a failure is told. True when the edit is on disk.
    bool SaveUnderLock(TQ7NDocument& Document, const std::string& PortsFile);

    IPortsEditDialogs& FDialogs;
    TdmServiceOptions& FSettings;
    std::chrono::milliseconds FLockWait;
    IMachineCheck* FMachine = nullptr;
};

} // namespace q7n
