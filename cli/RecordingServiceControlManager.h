#pragma once

#include "platform/ServiceControlManager.h"

namespace q7n::cli {

// Passes every call on to the host's service manager and keeps the code of the latest one, so
// that a command can tell why the wrapper's operation answered false (not installed, access
// denied, ...) while going through the same wrapper as the configurator.
class TRecordingServiceControlManager final : public platform::IServiceControlManager {
public:
    explicit TRecordingServiceControlManager(platform::IServiceControlManager& Host)
        : FHost(Host) {}

    std::uint32_t LastError() const { return FLastError; }
    // Puts back an earlier code, after a look at the service that was not the failure itself.
    void Restore(std::uint32_t Error) { FLastError = Error; }

    std::uint32_t OpenManager(std::uint32_t Access, platform::TScmHandle& Manager) override {
        return Keep(FHost.OpenManager(Access, Manager));
    }
    std::uint32_t Register(platform::TScmHandle Manager,
                           const platform::TServiceRegistration& Service,
                           platform::TScmHandle& Handle) override {
        return Keep(FHost.Register(Manager, Service, Handle));
    }
    std::uint32_t Open(platform::TScmHandle Manager, const std::string& Name, std::uint32_t Access,
                       platform::TScmHandle& Handle) override {
        return Keep(FHost.Open(Manager, Name, Access, Handle));
    }
    std::uint32_t Start(platform::TScmHandle Service) override {
        return Keep(FHost.Start(Service));
    }
    std::uint32_t ControlStop(platform::TScmHandle Service) override {
        return Keep(FHost.ControlStop(Service));
    }
    std::uint32_t Delete(platform::TScmHandle Service) override {
        return Keep(FHost.Delete(Service));
    }
    std::uint32_t QueryState(platform::TScmHandle Service, std::uint32_t& CurrentState) override {
        return Keep(FHost.QueryState(Service, CurrentState));
    }
    std::uint32_t QueryStatus(platform::TScmHandle Service,
                              platform::TServiceStatus& Status) override {
        return Keep(FHost.QueryStatus(Service, Status));
    }
    std::uint32_t QueryCommandLine(platform::TScmHandle Service,
                                   std::string& CommandLine) override {
        return Keep(FHost.QueryCommandLine(Service, CommandLine));
    }
    void CloseHandle(platform::TScmHandle Handle) override { FHost.CloseHandle(Handle); }

private:
    std::uint32_t Keep(std::uint32_t Error) {
        FLastError = Error;
        return Error;
    }

    platform::IServiceControlManager& FHost;
    std::uint32_t FLastError = platform::ErrorSuccess;
};

} // namespace q7n::cli
