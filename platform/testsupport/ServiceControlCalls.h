#pragma once

#include "platform/testsupport/ServiceControlTestSupport.h"

#include <gtest/gtest.h>

// The service manager calls that the tests make again and again, each expected to succeed.
namespace q7n::testing {

// The connection to Manager with every right.
inline platform::TScmHandleOwner OpenManager(platform::IServiceControlManager& Manager) {
    platform::TScmHandle Handle = 0;
    EXPECT_EQ(Manager.OpenManager(platform::ScManagerAllAccess, Handle), platform::ErrorSuccess);
    return platform::TScmHandleOwner(Handle, Manager);
}

// Registers Name with CommandLine through Manager; answers the new service's handle.
inline platform::TScmHandleOwner Register(platform::IServiceControlManager& Manager,
                                          platform::TScmHandle ManagerHandle,
                                          const std::string& Name, const std::string& CommandLine) {
    platform::TScmHandle Handle = 0;
    EXPECT_EQ(Manager.Register(ManagerHandle, RegistrationOf(Name, CommandLine), Handle),
              platform::ErrorSuccess);
    return platform::TScmHandleOwner(Handle, Manager);
}

inline std::uint32_t StateOf(platform::IServiceControlManager& Manager,
                             const platform::TScmHandleOwner& Service) {
    std::uint32_t State = 0;
    EXPECT_EQ(Manager.QueryState(Service.Get(), State), platform::ErrorSuccess);
    return State;
}

} // namespace q7n::testing
