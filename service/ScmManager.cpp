#include "service/ScmManager.h"

#include "platform/ScmHandle.h"
#include "service/ServicePaths.h"

namespace q7n {

using namespace platform;

TScmManager::TScmManager(TComponent* Owner, IServiceControlManager& Platform)
    : TComponent(Owner), FPlatform(Platform), FHandle(0, Platform) {}

bool TScmManager::Open() {
    // A connection still held is closed first, not lost.
    if (FPlatform.OpenManager(ScManagerAllAccess, *FHandle.Address()) != ErrorSuccess)
        (void)FHandle.Release();
    FActive = static_cast<bool>(FHandle);
    return FActive;
}

bool TScmManager::Close() {
    FHandle.Reset();
    FActive = false;
    return true;
}

void TScmManager::SetActive(bool Value) {
    if (Value == FActive)
        return;
    if (Value)
        static_cast<void>(Open());
    else
        Close();
}

bool TScmManager::InstallService(const std::string& Name, const std::string& Path) {
    TServiceRegistration Registration;
    Registration.Name = Name;
    Registration.DisplayName = Name;
    Registration.BinaryPathName = QuoteServicePath(Path);
    TScmHandle Service = 0;
    std::uint32_t Error = FPlatform.Register(FHandle.Get(), Registration, Service);
    TScmHandleOwner Owner(Service, FPlatform);
    return Error == ErrorSuccess && Owner;
}

template <class TAction> bool TScmManager::WithService(const std::string& Name, TAction Action) {
    TScmHandle Service = 0;
    std::uint32_t Error = FPlatform.Open(FHandle.Get(), Name, ServiceAllAccess, Service);
    TScmHandleOwner Owner(Service, FPlatform);
    if (Error != ErrorSuccess || !Owner)
        return false;
    return Action(Service);
}

bool TScmManager::UninstallService(const std::string& Name) {
    return WithService(Name, [this](TScmHandle Service) {
        // Set aside on purpose: the deletion goes ahead whether or not it stopped (a service
        // that still runs is deleted when it stops).
        (void)FPlatform.ControlStop(Service);
        return FPlatform.Delete(Service) == ErrorSuccess;
    });
}

bool TScmManager::StartService(const std::string& Name) {
    return WithService(
        Name, [this](TScmHandle Service) { return FPlatform.Start(Service) == ErrorSuccess; });
}

bool TScmManager::StopService(const std::string& Name) {
    return WithService(Name, [this](TScmHandle Service) {
        return FPlatform.ControlStop(Service) == ErrorSuccess;
    });
}

bool TScmManager::GetServiceState(const std::string& Name, TServiceState& State) {
    State = 0;
    return WithService(Name, [this, &State](TScmHandle Service) {
        std::uint32_t Current = 0;
        if (FPlatform.QueryState(Service, Current) != ErrorSuccess)
            return false;
        State = static_cast<TServiceState>(Current & 0xFF);
        return true;
    });
}

} // namespace q7n
