#pragma once

#include "base/UniqueHandle.h"

#include <cstdint>

namespace q7n::platform {

// A handle of a service manager, opaque; 0 is none.
using TScmHandle = std::uintptr_t;

class IServiceControlManager;

// Closes a handle through the service manager it came from.
struct TScmHandleTraits {
    using THandle = TScmHandle;
    TScmHandleTraits() = default;
    TScmHandleTraits(IServiceControlManager& Owner) : Manager(&Owner) {}
    static TScmHandle Invalid() { return 0; }
    void Close(TScmHandle Handle) const;
    IServiceControlManager* Manager = nullptr;
};

// Owns one handle of a service manager: TScmHandleOwner(Handle, Manager).
using TScmHandleOwner = TUniqueHandle<TScmHandleTraits>;

} // namespace q7n::platform
