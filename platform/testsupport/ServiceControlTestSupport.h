#pragma once

#include "base/testsupport/TemporaryFolder.h"
#include "platform/ScmHandle.h"
#include "platform/ServiceControlManager.h"
#include "platform/testsupport/HostProgramPath.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <tuple>

#ifndef _WIN32
#include "platform/posix/ServiceControlManagerPosix.h"
#endif

namespace q7n::testing {

// The fixture service program, as a path of the host.
inline std::string FixtureServicePath() {
    return HostProgramPath(Q7N_FIXTURE_SERVICE);
}

// The fixture's command line, quoted, with the option that makes it tell when it is ready.
inline std::string FixtureCommandLine(const std::string& ReadyFile) {
    return "\"" + FixtureServicePath() + "\" --record \"" + ReadyFile + "\"";
}

// An own-process service that starts automatically, under Name, running CommandLine.
inline platform::TServiceRegistration RegistrationOf(const std::string& Name,
                                                     const std::string& CommandLine) {
    platform::TServiceRegistration Registration;
    Registration.Name = Name;
    Registration.DisplayName = Name;
    Registration.BinaryPathName = CommandLine;
    return Registration;
}

// A status's process and the codes its last run ended with (Win32, then the service's own), to
// compare in one go.
using TStatusCodes = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>;
inline TStatusCodes CodesOf(const platform::TServiceStatus& Status) {
    return {Status.ProcessId, Status.Win32ExitCode, Status.ServiceSpecificExitCode};
}

// A service name no other test uses, so that tests leave each other alone.
inline std::string UniqueServiceName() {
    std::random_device Random;
    return "Q7NTest" + std::to_string(Random());
}

// Polls Condition every 20 ms for up to Seconds; answers whether it came true.
inline bool WaitFor(const std::function<bool()>& Condition, int Seconds = 15) {
    auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(Seconds);
    while (std::chrono::steady_clock::now() < Deadline) {
        if (Condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return Condition();
}

// The backend under test: the host's own manager on Windows, the stand-in over a database of the
// test's own elsewhere.
class TTestServiceManager {
public:
    TTestServiceManager() {
#ifdef _WIN32
        FManager = platform::CreateHostServiceControlManager();
#else
        FManager = std::make_unique<platform::TPosixServiceControlManager>(DatabasePath());
#endif
    }

    platform::IServiceControlManager& operator*() {
        return *FManager;
    }
    platform::IServiceControlManager* operator->() {
        return FManager.get();
    }
    std::string DatabasePath() const {
        return FFolder.File("machine.sqlite");
    }
    const TTemporaryFolder& Folder() const {
        return FFolder;
    }

private:
    TTemporaryFolder FFolder;
    std::unique_ptr<platform::IServiceControlManager> FManager;
};

} // namespace q7n::testing
