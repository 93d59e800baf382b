#pragma once

#include "service/ServiceState.h"

#include <functional>
#include <string>

namespace q7n {

// The ports edit as the configurator runs it; the flow itself needs the ports file and the
// settings, which the configurator's library does without.
class IPortsEditFlow {
public:
    // Edits the ports file at PortsFile. LastState gives the service's state as last polled; it is
    // read when the edit is saved, since polls go on while the windows are open. True when the
    // user asked for the service to be restarted.
    virtual bool Run(const std::string& PortsFile,
                     const std::function<TServiceState()>& LastState) = 0;

protected:
    ~IPortsEditFlow() = default;
};

} // namespace q7n
