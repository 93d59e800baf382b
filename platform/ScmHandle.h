#pragma once

#include "base/UniqueHandle.h"
#include "platform/ServiceControlManager.h"

namespace q7n::platform {

// Closes a handle through the service manager it came from.
struct TScmHandleTraits {
    using THandle = TScmHandle;
    TScmHandleTraits() = default;
    TScmHandleTraits(IServiceControlManager& Owner) : Manager(&Owner) {}
    static TScmHandle Invalid() { return 0; }
    void Close(TScmHandle Handle) const { Manager->CloseHandle(Handle); }
    IServiceControlManager* Manager = nullptr;
};

// Owns one handle of a service manager: TScmHandleOwner(Handle, Manager).
using TScmHandleOwner = TUniqueHandle<TScmHandleTraits>;

} // namespace q7n::platform
