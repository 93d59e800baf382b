#pragma once

#include "platform/ServiceControlManager.h"
#include "platform/SystemErrorText.h"

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

    TStatusOr<platform::TScmHandleOwner> OpenManager(std::uint32_t Access) override {
        Calls.push_back("OpenManager");
        ManagerAccess = Access;
        if (OpenManagerError)
            return platform::SystemStatus(OpenManagerError);
        return Owned("");
    }
    TStatusOr<platform::TScmHandleOwner>
    Register(platform::TScmHandle Manager, const platform::TServiceRegistration& Service) override {
        Calls.push_back("CreateService " + Service.Name + " " + Service.BinaryPathName);
        ServiceAccess.push_back(Service.Access);
        if (!Manager)
            return platform::SystemStatus(platform::ErrorInvalidHandle);
        if (States.count(Service.Name))
            return platform::SystemStatus(platform::ErrorServiceExists);
        States[Service.Name] = 1;
        Paths[Service.Name] = Service.BinaryPathName;
        return Owned(Service.Name);
    }
    TStatusOr<platform::TScmHandleOwner> Open(platform::TScmHandle Manager, const std::string& Name,
                                              std::uint32_t Access) override {
        Calls.push_back("OpenService " + Name);
        ServiceAccess.push_back(Access);
        if (!Manager)
            return platform::SystemStatus(platform::ErrorInvalidHandle);
        if (!States.count(Name))
            return platform::SystemStatus(platform::ErrorServiceDoesNotExist);
        return Owned(Name);
    }
    TStatus Start(platform::TScmHandle Service) override {
        Calls.push_back("StartService");
        std::uint32_t& State = States[FNames[Service]];
        if (State != 1)
            return platform::SystemStatus(platform::ErrorServiceAlreadyRunning);
        State = 2; // start pending
        return {};
    }
    TStatus ControlStop(platform::TScmHandle Service) override {
        Calls.push_back("ControlStop");
        std::uint32_t& State = States[FNames[Service]];
        if (State == 1)
            return platform::SystemStatus(platform::ErrorServiceNotActive);
        if (ControlStopError)
            return platform::SystemStatus(ControlStopError);
        State = 3; // stop pending
        return {};
    }
    TStatus Delete(platform::TScmHandle Service) override {
        Calls.push_back("DeleteService");
        States.erase(FNames[Service]);
        return {};
    }
    TStatusOr<std::uint32_t> QueryState(platform::TScmHandle Service) override {
        Calls.push_back("QueryState");
        auto Found = States.find(FNames[Service]);
        if (Found == States.end())
            return platform::SystemStatus(platform::ErrorServiceMarkedForDelete);
        return Found->second;
    }
    TStatusOr<platform::TServiceStatus> QueryStatus(platform::TScmHandle Service) override {
        Calls.push_back("QueryStatus");
        auto Found = States.find(FNames[Service]);
        if (Found == States.end())
            return platform::SystemStatus(platform::ErrorServiceMarkedForDelete);
        platform::TServiceStatus Status;
        Status.CurrentState = Found->second;
        return Status;
    }
    TStatusOr<std::string> QueryCommandLine(platform::TScmHandle Service) override {
        Calls.push_back("QueryCommandLine");
        auto Found = Paths.find(FNames[Service]);
        if (Found == Paths.end() || !States.count(Found->first))
            return platform::SystemStatus(platform::ErrorServiceMarkedForDelete);
        return Found->second;
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
    platform::TScmHandleOwner Owned(const std::string& Name) {
        ++OpenHandles;
        FNames[++FLastHandle] = Name;
        return platform::TScmHandleOwner(FLastHandle, *this);
    }

    platform::TScmHandle FLastHandle = 0;
    std::map<platform::TScmHandle, std::string> FNames;
};

} // namespace q7n::testing
