#pragma once

namespace q7n {

// What the configurator tells the window that shows the service. The window outlives the
// configurator and is not owned by it.
class IServiceConfigDlgInterface {
public:
    // Called after every poll of the service state, also when it did not change; the window
    // reads the configurator's state and repaints.
    virtual void ServiceStateChanged() = 0;

protected:
    ~IServiceConfigDlgInterface() = default;
};

} // namespace q7n
