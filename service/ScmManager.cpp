#include "service/ScmManager.h"

#include "platform/ScmHandle.h"
#include "service/ServicePaths.h"

#include <utility>

namespace q7n {

using namespace platform;

TScmManager::TScmManager(TComponent* Owner, IServiceControlManager& Platform)
    : TComponent(Owner), FPlatform(Platform), FHandle(0, Platform) {}

bool TScmManager::Open() {
    // A refusal leaves the connection held, if any; a new one replaces it.
    TStatusOr<TScmHandleOwner> Connection = FPlatform.OpenManager(ScManagerAllAccess);
    if (!Connection.Ok() || !*Connection)
        return false;
    FHandle = std::move(*Connection);
    FActive = true;
    return true;
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
    TStatusOr<TScmHandleOwner> Service = FPlatform.Register(FHandle.Get(), Registration);
    return Service.Ok() && *Service;
}

template <class TAction> bool TScmManager::WithService(const std::string& Name, TAction Action) {
    TStatusOr<TScmHandleOwner> Service = FPlatform.Open(FHandle.Get(), Name, ServiceAllAccess);
    return Service.Ok() && *Service && Action(Service->Get());
}

bool TScmManager::UninstallService(const std::string& Name) {
    return WithService(Name, [this](TScmHandle Service) {
        // The deletion goes ahead whether or not it stopped: a stopped service refuses the stop,
        // and a running one is removed once it has stopped.
        IgnoreStatus(FPlatform.ControlStop(Service));
        return FPlatform.Delete(Service).Ok();
    });
}

bool TScmManager::StartService(const std::string& Name) {
    return WithService(Name, [this](TScmHandle Service) { return FPlatform.Start(Service).Ok(); });
}

bool TScmManager::StopService(const std::string& Name) {
    return WithService(Name,
                       [this](TScmHandle Service) { return FPlatform.ControlStop(Service).Ok(); });
}

bool TScmManager::GetServiceState(const std::string& Name, TServiceState& State) {
    State = 0;
    return WithService(Name, [this, &State](TScmHandle Service) {
        TStatusOr<std::uint32_t> Current = FPlatform.QueryState(Service);
        if (!Current.Ok())
            return false;
        State = static_cast<TServiceState>(*Current & 0xFF);
        return true;
    });
}

} // namespace q7n
