#pragma once

#include "base/UniqueHandle.h"
#include "platform/Registry.h"

namespace q7n::platform {

// Closes a key through the registry it came from.
struct TRegKeyTraits {
    using THandle = TRegKeyHandle;
    TRegKeyTraits() = default;
    TRegKeyTraits(IRegistry& Owner) : Registry(&Owner) {}
    static TRegKeyHandle Invalid() { return 0; }
    void Close(TRegKeyHandle Key) const { Registry->CloseKey(Key); }
    IRegistry* Registry = nullptr;
};

using TRegKeyOwner = TUniqueHandle<TRegKeyTraits>;

// One open registry key, closed when the object goes. Move-only. The operations of a key that
// is not open answer ErrorInvalidHandle without reaching the backend.
class TRegKey {
public:
    explicit TRegKey(IRegistry& Registry) : FKey(0, Registry) {}

    bool IsOpen() const { return static_cast<bool>(FKey); }
    TRegKeyHandle Handle() const { return FKey.Get(); }

    // Each open first closes the key held; Disposition may be null.
    std::uint32_t Create(TRegRoot Root, const std::string& Path, std::uint32_t Access,
                         std::uint32_t* Disposition = nullptr) {
        std::uint32_t Ignored = 0;
        return Opened(Registry().CreateKey(Root, Path, Access, *FKey.Address(),
                                           Disposition ? *Disposition : Ignored));
    }
    std::uint32_t Open(TRegRoot Root, const std::string& Path, std::uint32_t Access) {
        return Opened(Registry().OpenKey(Root, Path, Access, *FKey.Address()));
    }

    std::uint32_t QueryValue(const std::string& Name, std::uint32_t& Type,
                             std::uint32_t& Size) const {
        return IsOpen() ? Registry().QueryValue(Handle(), Name, Type, Size) : ErrorInvalidHandle;
    }
    std::uint32_t ReadValue(const std::string& Name, std::uint32_t& Type,
                            std::vector<std::uint8_t>& Data) const {
        return IsOpen() ? Registry().ReadValue(Handle(), Name, Type, Data) : ErrorInvalidHandle;
    }
    std::uint32_t WriteValue(const std::string& Name, std::uint32_t Type,
                             std::span<const std::uint8_t> Data) const {
        return IsOpen() ? Registry().WriteValue(Handle(), Name, Type, Data) : ErrorInvalidHandle;
    }
    std::uint32_t ValueNames(std::vector<std::string>& Names) const {
        return IsOpen() ? Registry().ValueNames(Handle(), Names) : ErrorInvalidHandle;
    }

    std::uint32_t Close() { return IsOpen() ? Registry().CloseKey(FKey.Release()) : ErrorSuccess; }

private:
    IRegistry& Registry() const { return *FKey.Traits().Registry; }
    // A failed open leaves no key, whatever the backend wrote.
    std::uint32_t Opened(std::uint32_t Error) {
        if (Error != ErrorSuccess)
            (void)FKey.Release();
        return Error;
    }

    TRegKeyOwner FKey;
};

} // namespace q7n::platform
