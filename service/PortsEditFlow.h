#pragma once

#include "PortsEditDialogs.h"
#include "PortsEditFlowInterface.h"

namespace q7n {

class TdmServiceOptions;

// The ports edit: load the ports file, let the user edit its mappings, save it, record its path
// in the settings and, when the service was last seen running, offer to restart it.
class TPortsEditFlow final : public IPortsEditFlow {
public:
    // Settings is where the path of a saved file is recorded. Both must outlive the flow.
    TPortsEditFlow(IPortsEditDialogs& Dialogs, TdmServiceOptions& Settings)
        : FDialogs(Dialogs), FSettings(Settings) {}

    bool Run(const std::string& PortsFile,
             const std::function<TServiceState()>& LastState) override;

private:
    IPortsEditDialogs& FDialogs;
    TdmServiceOptions& FSettings;
};

} // namespace q7n
