#pragma once

#include "platform/ServiceControlManager.h"

#include <map>
#include <string>
#include <vector>

namespace q7n::testing {

// A service manager in memory that records every call, for the tests of the code above it.
// Services are registered by name; a test sets their state directly.
class TFakeServiceControlManager final : public platform::IServiceControlManager {
public:
    std::vector<std::string> Calls;
    std::uint32_t OpenManagerError = platform::ErrorSuccess;
    std::uint32_t ControlStopError = platform::ErrorSuccess; // a service that refuses the stop
    std::map<std::string, std::uint32_t> States;             // registered services and their state
    std::map<std::string, std::string> Paths;                // their command lines
    int OpenHandles = 0;
    std::uint32_t ManagerAccess = 0;          // the access the manager was opened with
    std::vector<std::uint32_t> ServiceAccess; // the access asked of each service, in order

    std::uint32_t OpenManager(std::uint32_t Access, platform::TScmHandle& Manager) override {
        Calls.push_back("OpenManager");
        ManagerAccess = Access;
        Manager = OpenManagerError ? 0 : NewHandle("");
        return OpenManagerError;
    }
    std::uint32_t Register(platform::TScmHandle Manager,
                           const platform::TServiceRegistration& Service,
                           platform::TScmHandle& Handle) override {
        Calls.push_back("CreateService " + Service.Name + " " + Service.BinaryPathName);
        ServiceAccess.push_back(Service.Access);
        Handle = 0;
        if (!Manager)
            return platform::ErrorInvalidHandle;
        if (States.count(Service.Name))
            return platform::ErrorServiceExists;
        States[Service.Name] = 1;
        Paths[Service.Name] = Service.BinaryPathName;
        Handle = NewHandle(Service.Name);
        return platform::ErrorSuccess;
    }
    std::uint32_t Open(platform::TScmHandle Manager, const std::string& Name, std::uint32_t Access,
                       platform::TScmHandle& Handle) override {
        Calls.push_back("OpenService " + Name);
        ServiceAccess.push_back(Access);
        Handle = 0;
        if (!Manager)
            return platform::ErrorInvalidHandle;
        if (!States.count(Name))
            return platform::ErrorServiceDoesNotExist;
        Handle = NewHandle(Name);
        return platform::ErrorSuccess;
    }
    std::uint32_t Start(platform::TScmHandle Service) override {
        Calls.push_back("StartService");
        std::uint32_t& State = States[FNames[Service]];
        if (State != 1)
            return platform::ErrorServiceAlreadyRunning;
        State = 2; // start pending
        return platform::ErrorSuccess;
    }
    std::uint32_t ControlStop(platform::TScmHandle Service) override {
        Calls.push_back("ControlStop");
        std::uint32_t& State = States[FNames[Service]];
        if (State == 1)
            return platform::ErrorServiceNotActive;
        if (ControlStopError)
            return ControlStopError;
        State = 3; // stop pending
        return platform::ErrorSuccess;
    }
    std::uint32_t Delete(platform::TScmHandle Service) override {
        Calls.push_back("DeleteService");
        States.erase(FNames[Service]);
        return platform::ErrorSuccess;
    }
    std::uint32_t QueryState(platform::TScmHandle Service, std::uint32_t& CurrentState) override {
        Calls.push_back("QueryState");
        auto Found = States.find(FNames[Service]);
        if (Found == States.end())
            return platform::ErrorServiceMarkedForDelete;
        CurrentState = Found->second;
        return platform::ErrorSuccess;
    }
    std::uint32_t QueryStatus(platform::TScmHandle Service,
                              platform::TServiceStatus& Status) override {
        Calls.push_back("QueryStatus");
        auto Found = States.find(FNames[Service]);
        if (Found == States.end())
            return platform::ErrorServiceMarkedForDelete;
        Status = {};
        Status.CurrentState = Found->second;
        return platform::ErrorSuccess;
    }
    std::uint32_t QueryCommandLine(platform::TScmHandle Service,
                                   std::string& CommandLine) override {
        Calls.push_back("QueryCommandLine");
        auto Found = Paths.find(FNames[Service]);
        if (Found == Paths.end() || !States.count(Found->first))
            return platform::ErrorServiceMarkedForDelete;
        CommandLine = Found->second;
        return platform::ErrorSuccess;
    }
    void CloseHandle(platform::TScmHandle Handle) override {
        Calls.push_back("CloseHandle");
        if (Handle)
            --OpenHandles;
    }

    // The calls recorded since the last look, then forgets them.
    std::vector<std::string> TakeCalls() {
        std::vector<std::string> Taken;
        Taken.swap(Calls);
        return Taken;
    }

private:
    platform::TScmHandle NewHandle(const std::string& Name) {
        ++OpenHandles;
        FNames[++FLastHandle] = Name;
        return FLastHandle;
    }

    platform::TScmHandle FLastHandle = 0;
    std::map<platform::TScmHandle, std::string> FNames;
};

} // namespace q7n::testing
