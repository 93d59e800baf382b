#pragma once

#include "base/Clock.h"
#include "platform/NetworkState.h"
#include "platform/Registry.h"
#include "platform/ServiceControlManager.h"

#include <cstdint>
#include <functional>
#include <string>

namespace q7n::cli {

// What q7nctl's commands work on: the folder that holds the service's program and ports file,
// as for the configurator, and the platform behind its interfaces.
struct TCtlEnvironment {
    std::string Folder;      // the current folder; empty when it cannot be read
    std::string FolderError; // why it cannot be read
    platform::IServiceControlManager* ServiceManager = nullptr;
    platform::IRegistry* Registry = nullptr;
    platform::INetworkState* Network = nullptr;
    IMonotonicClock* Clock = nullptr;
    std::function<void(std::int64_t Milliseconds)> Sleep;

    // The folder, or ECommandError when it cannot be read.
    const std::string& RequireFolder() const;
};

} // namespace q7n::cli
