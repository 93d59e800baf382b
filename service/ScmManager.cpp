#include "ScmManager.h"

#include "ServicePath.h"

namespace q7n {

using namespace platform;

TScmManager::TScmManager(TComponent* Owner, IServiceControlManager& Platform)
    : TComponent(Owner), FPlatform(Platform) {}

bool TScmManager::Open() {
    FHandle = 0;
    if (FPlatform.OpenManager(ScManagerAllAccess, FHandle) != ErrorSuccess)
        FHandle = 0;
    FActive = FHandle != 0;
    return FActive;
}

bool TScmManager::Close() {
    FPlatform.CloseHandle(FHandle);
    FHandle = 0;
    FActive = false;
    return true;
}

void TScmManager::SetActive(bool Value) {
    if (Value == FActive)
        return;
    if (Value)
        Open();
    else
        Close();
}

TScmHandle TScmManager::OpenByName(const std::string& Name) {
    TScmHandle Service = 0;
    if (FPlatform.Open(FHandle, Name, ServiceAllAccess, Service) != ErrorSuccess)
        return 0;
    return Service;
}

bool TScmManager::InstallService(const std::string& Name, const std::string& Path) {
    TServiceRegistration Registration;
    Registration.Name = Name;
    Registration.DisplayName = Name;
    Registration.BinaryPathName = QuoteServicePath(Path);
    TScmHandle Service = 0;
    if (FPlatform.Register(FHandle, Registration, Service) != ErrorSuccess || !Service)
        return false;
    FPlatform.CloseHandle(Service);
    return true;
}

bool TScmManager::UninstallService(const std::string& Name) {
    TScmHandle Service = OpenByName(Name);
    if (!Service)
        return false;
    FPlatform.ControlStop(Service); // the deletion goes ahead whether or not it stopped
    bool Deleted = FPlatform.Delete(Service) == ErrorSuccess;
    FPlatform.CloseHandle(Service);
    return Deleted;
}

bool TScmManager::StartService(const std::string& Name) {
    TScmHandle Service = OpenByName(Name);
    if (!Service)
        return false;
    bool Started = FPlatform.Start(Service) == ErrorSuccess;
    FPlatform.CloseHandle(Service);
    return Started;
}

bool TScmManager::StopService(const std::string& Name) {
    TScmHandle Service = OpenByName(Name);
    if (!Service)
        return false;
    bool Stopped = FPlatform.ControlStop(Service) == ErrorSuccess;
    FPlatform.CloseHandle(Service);
    return Stopped;
}

bool TScmManager::GetServiceState(const std::string& Name, TServiceState& State) {
    State = 0;
    TScmHandle Service = OpenByName(Name);
    if (!Service)
        return false;
    std::uint32_t Current = 0;
    bool Queried = FPlatform.QueryState(Service, Current) == ErrorSuccess;
    if (Queried)
        State = static_cast<TServiceState>(Current & 0xFF);
    FPlatform.CloseHandle(Service);
    return Queried;
}

} // namespace q7n
