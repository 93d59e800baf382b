#pragma once

#include "base/UniqueHandle.h"

#include <cstdint>

namespace q7n::platform {

// An open file of the host platform: a descriptor on POSIX, a HANDLE on Windows. Each backend
// defines Close.
struct TFileHandleTraits {
#ifdef _WIN32
    using THandle = void*;
    static THandle Invalid() {
        return reinterpret_cast<void*>(static_cast<std::intptr_t>(-1));
    }
#else
    using THandle = int;
    static THandle Invalid() {
        return -1;
    }
#endif
    void Close(THandle Handle) const;
};

using TFileHandle = TUniqueHandle<TFileHandleTraits>;

} // namespace q7n::platform
