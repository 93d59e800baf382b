#pragma once

#include "base/testsupport/StatusCode.h"
#include "platform/testsupport/ServiceControlTestSupport.h"

#include <gtest/gtest.h>

// The service manager calls that the tests make again and again, each expected to succeed.
namespace q7n::testing {

// Result's value, with a failure of the test when there is none (then T's empty value).
template <class T> T Expected(TStatusOr<T> Result) {
    EXPECT_TRUE(Result.Ok()) << Result.Status().Code() << " " << Result.Status().Text();
    return Result.Ok() ? std::move(Result).Value() : T();
}

// The connection to Manager with every right.
inline platform::TScmHandleOwner OpenManager(platform::IServiceControlManager& Manager) {
    return Expected(Manager.OpenManager(platform::ScManagerAllAccess));
}

// Registers Name with CommandLine through Manager; answers the new service's handle.
inline platform::TScmHandleOwner Register(platform::IServiceControlManager& Manager,
                                          platform::TScmHandle ManagerHandle,
                                          const std::string& Name, const std::string& CommandLine) {
    return Expected(Manager.Register(ManagerHandle, RegistrationOf(Name, CommandLine)));
}

inline std::uint32_t StateOf(platform::IServiceControlManager& Manager,
                             const platform::TScmHandleOwner& Service) {
    return Expected(Manager.QueryState(Service.Get()));
}

} // namespace q7n::testing
