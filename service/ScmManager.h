#pragma once

#include "base/Component.h"
#include "platform/ScmHandle.h"
#include "platform/ServiceControlManager.h"
#include "service/ServiceState.h"

#include <string>

namespace q7n {

// One connection to the local service manager and the five operations the configurator needs.
// Each operation opens the service, acts on it and closes it again, and answers whether the
// platform accepted it; no error is kept and nothing waits for the service. A call that fails
// leaves the object as it was. The connection is closed when the object goes.
class TScmManager : public TComponent {
public:
    TScmManager(TComponent* Owner, platform::IServiceControlManager& Platform);

    [[nodiscard]] bool Open();
    bool Close();
    bool Active() const { return FActive; }
    void SetActive(bool Value);

    // Registers an own-process service that starts automatically. A path with a blank is
    // quoted, so that Windows cannot run a prefix of it as the service.
    [[nodiscard]] bool InstallService(const std::string& Name, const std::string& Path);
    // Sends the stop control and, without waiting, asks for the deletion.
    [[nodiscard]] bool UninstallService(const std::string& Name);
    [[nodiscard]] bool StartService(const std::string& Name);
    [[nodiscard]] bool StopService(const std::string& Name);
    // State is 0 unless a state was obtained.
    [[nodiscard]] bool GetServiceState(const std::string& Name, TServiceState& State);

private:
    // Opens the service, runs Action on its handle and closes it; false when it cannot be opened.
    template <class TAction> bool WithService(const std::string& Name, TAction Action);

    platform::IServiceControlManager& FPlatform;
    platform::TScmHandleOwner FHandle;
    bool FActive = false;
};

} // namespace q7n
