#pragma once

#include "platform/ServiceControlManager.h"

#include <utility>

namespace q7n::cli {

// Passes every call on to the host's service manager and keeps the status of the latest one, so
// that a command can tell why the wrapper's operation answered false (not installed, access
// denied, ...) while going through the same wrapper as the configurator.
class TRecordingServiceControlManager final : public platform::IServiceControlManager {
public:
    explicit TRecordingServiceControlManager(platform::IServiceControlManager& Host)
        : FHost(Host) {}

    std::uint32_t LastError() const { return FLast.Code(); }
    // Puts back an earlier code, after a look at the service that was not the failure itself.
    void Restore(TStatus Last) { FLast = std::move(Last); }
    const TStatus& Last() const { return FLast; }

    TStatusOr<platform::TScmHandleOwner> OpenManager(std::uint32_t Access) override {
        return Keep(FHost.OpenManager(Access));
    }
    TStatusOr<platform::TScmHandleOwner>
    Register(platform::TScmHandle Manager, const platform::TServiceRegistration& Service) override {
        return Keep(FHost.Register(Manager, Service));
    }
    TStatusOr<platform::TScmHandleOwner> Open(platform::TScmHandle Manager, const std::string& Name,
                                              std::uint32_t Access) override {
        return Keep(FHost.Open(Manager, Name, Access));
    }
    TStatus Start(platform::TScmHandle Service) override { return Keep(FHost.Start(Service)); }
    TStatus ControlStop(platform::TScmHandle Service) override {
        return Keep(FHost.ControlStop(Service));
    }
    TStatus Delete(platform::TScmHandle Service) override { return Keep(FHost.Delete(Service)); }
    TStatusOr<std::uint32_t> QueryState(platform::TScmHandle Service) override {
        return Keep(FHost.QueryState(Service));
    }
    TStatusOr<platform::TServiceStatus> QueryStatus(platform::TScmHandle Service) override {
        return Keep(FHost.QueryStatus(Service));
    }
    TStatusOr<std::string> QueryCommandLine(platform::TScmHandle Service) override {
        return Keep(FHost.QueryCommandLine(Service));
    }
    void CloseHandle(platform::TScmHandle Handle) override { FHost.CloseHandle(Handle); }

private:
    TStatus Keep(TStatus Status) {
        FLast = Status;
        return Status;
    }
    template <class T> TStatusOr<T> Keep(TStatusOr<T> Result) {
        FLast = Result.Status();
        return Result;
    }

    platform::IServiceControlManager& FHost;
    TStatus FLast;
};

} // namespace q7n::cli
