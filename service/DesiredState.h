#pragma once

#include "service/ServiceState.h"

#include <optional>
#include <string_view>

namespace q7n {

// The state a configuration tool asks the service to be in.
enum TDesiredState { dsInstalled, dsRunning, dsStopped, dsAbsent };

// "installed", "running", "stopped", "absent"; none for another word.
std::optional<TDesiredState> DesiredStateFromText(std::string_view Text);
const char* DesiredStateText(TDesiredState Desired);

// What brings the service from where it is to the desired state. eaRefuse: the desired state
// names a service that is not installed (running, stopped), which installing would not give.
enum TEnsureAction { eaNone, eaInstall, eaStart, eaStop, eaUninstall, eaRefuse };

// What the service manager says of the service. A service marked for deletion is going away:
// it is no longer installed for an install, and needs no uninstall.
struct TServiceFacts {
    bool Installed = false;
    bool MarkedForDelete = false;
    TServiceState State = 0;
};

// The one action for Desired, or eaNone when it holds. A start or a stop under way holds for
// running or stopped: waiting sees it through.
TEnsureAction EnsureAction(TDesiredState Desired, const TServiceFacts& Facts);

} // namespace q7n
