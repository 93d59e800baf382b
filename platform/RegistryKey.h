#pragma once

#include "platform/Registry.h"
#include "platform/SystemErrorText.h"

namespace q7n::platform {

// One open registry key, closed when the object goes. Move-only. An open that fails leaves the
// object as it was, holding the key it had; one that succeeds closes that key first. The
// operations of a key that is not open answer ErrorInvalidHandle without reaching the backend.
class TRegKey {
public:
    explicit TRegKey(IRegistry& Registry) : FKey(0, Registry) {}

    bool IsOpen() const { return static_cast<bool>(FKey); }
    TRegKeyHandle Handle() const { return FKey.Get(); }

    // Opens Path below Root, creating what is missing.
    TStatus Create(TRegRoot Root, const std::string& Path, std::uint32_t Access) {
        return CreateWithDisposition(Root, Path, Access).Status();
    }
    // The same, answering whether the key was made (RegCreatedNewKey) or found.
    TStatusOr<std::uint32_t> CreateWithDisposition(TRegRoot Root, const std::string& Path,
                                                   std::uint32_t Access) {
        TStatusOr<TRegCreatedKey> Created = Registry().CreateKey(Root, Path, Access);
        if (!Created.Ok())
            return Created.Status();
        Take(Created->Key);
        return Created->Disposition;
    }
    TStatus Open(TRegRoot Root, const std::string& Path, std::uint32_t Access) {
        TStatusOr<TRegKeyOwner> Opened = Registry().OpenKey(Root, Path, Access);
        if (!Opened.Ok())
            return Opened.Status();
        Take(*Opened);
        return {};
    }

    TStatusOr<TRegValueInfo> QueryValue(const std::string& Name) const {
        if (!IsOpen())
            return NotOpen();
        return Registry().QueryValue(Handle(), Name);
    }
    TStatusOr<TRegValue> ReadValue(const std::string& Name) const {
        if (!IsOpen())
            return NotOpen();
        return Registry().ReadValue(Handle(), Name);
    }
    TStatus WriteValue(const std::string& Name, std::uint32_t Type,
                       std::span<const std::uint8_t> Data) const {
        return IsOpen() ? Registry().WriteValue(Handle(), Name, Type, Data) : NotOpen();
    }
    TStatusOr<std::vector<std::string>> ValueNames() const {
        if (!IsOpen())
            return NotOpen();
        return Registry().ValueNames(Handle());
    }

    TStatus Close() { return IsOpen() ? Registry().CloseKey(FKey.Release()) : TStatus(); }

private:
    IRegistry& Registry() const { return *FKey.Traits().Registry; }
    static TStatus NotOpen() { return SystemStatus(ErrorInvalidHandle); }
    // Holds the key an open answered, closed through this object's registry.
    void Take(TRegKeyOwner& Opened) { FKey.Reset(Opened.Release()); }

    TRegKeyOwner FKey;
};

} // namespace q7n::platform
