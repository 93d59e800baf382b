#pragma once

#include "service/ServiceState.h"

namespace q7n {

// What the configurator tells the window that shows the service. The window outlives the
// configurator and is not owned by it.
class IServiceConfigDlgInterface {
public:
    // Called after every poll of the service state with the state polled, also when it did not
    // change.
    virtual void ServiceStateChanged(TServiceState State) = 0;

protected:
    ~IServiceConfigDlgInterface() = default;
};

} // namespace q7n
