#pragma once

#include "ServiceControlManager.h"

#include <utility>

namespace q7n::platform {

// Owns one handle of a service manager and closes it when it goes; moves, never copies.
class TScmHandleOwner {
public:
    TScmHandleOwner() = default;
    TScmHandleOwner(IServiceControlManager& Manager, TScmHandle Handle)
        : FManager(&Manager), FHandle(Handle) {}
    TScmHandleOwner(TScmHandleOwner&& Other) noexcept
        : FManager(Other.FManager), FHandle(std::exchange(Other.FHandle, 0)) {}
    TScmHandleOwner& operator=(TScmHandleOwner&& Other) noexcept {
        if (this != &Other) {
            Reset();
            FManager = Other.FManager;
            FHandle = std::exchange(Other.FHandle, 0);
        }
        return *this;
    }
    TScmHandleOwner(const TScmHandleOwner&) = delete;
    TScmHandleOwner& operator=(const TScmHandleOwner&) = delete;
    ~TScmHandleOwner() { Reset(); }

    TScmHandle Get() const { return FHandle; }
    explicit operator bool() const { return FHandle != 0; }

    void Reset() {
        if (FHandle && FManager)
            FManager->CloseHandle(FHandle);
        FHandle = 0;
    }

private:
    IServiceControlManager* FManager = nullptr;
    TScmHandle FHandle = 0;
};

} // namespace q7n::platform
