#pragma once

#include "Registry.h"

#include <utility>

namespace q7n::platform {

// One open registry key, closed when the object goes. Move-only. The operations of a key that
// is not open answer ErrorInvalidHandle without reaching the backend.
class TRegKey {
public:
    explicit TRegKey(IRegistry& Registry) : FRegistry(&Registry) {}
    TRegKey(TRegKey&& Other) noexcept
        : FRegistry(Other.FRegistry), FHandle(std::exchange(Other.FHandle, 0)) {}
    TRegKey& operator=(TRegKey&& Other) noexcept {
        if (this != &Other) {
            Close();
            FRegistry = Other.FRegistry;
            FHandle = std::exchange(Other.FHandle, 0);
        }
        return *this;
    }
    ~TRegKey() { Close(); }

    bool IsOpen() const { return FHandle != 0; }
    TRegKeyHandle Handle() const { return FHandle; }

    // Each open first closes the key held; Disposition may be null.
    std::uint32_t Create(TRegRoot Root, const std::string& Path, std::uint32_t Access,
                         std::uint32_t* Disposition = nullptr) {
        Close();
        std::uint32_t Ignored = 0;
        std::uint32_t Error =
            FRegistry->CreateKey(Root, Path, Access, FHandle, Disposition ? *Disposition : Ignored);
        if (Error != ErrorSuccess)
            FHandle = 0;
        return Error;
    }
    std::uint32_t Open(TRegRoot Root, const std::string& Path, std::uint32_t Access) {
        Close();
        std::uint32_t Error = FRegistry->OpenKey(Root, Path, Access, FHandle);
        if (Error != ErrorSuccess)
            FHandle = 0;
        return Error;
    }

    std::uint32_t QueryValue(const std::string& Name, std::uint32_t& Type,
                             std::uint32_t& Size) const {
        return IsOpen() ? FRegistry->QueryValue(FHandle, Name, Type, Size) : ErrorInvalidHandle;
    }
    std::uint32_t ReadValue(const std::string& Name, std::uint32_t& Type,
                            std::vector<std::uint8_t>& Data) const {
        return IsOpen() ? FRegistry->ReadValue(FHandle, Name, Type, Data) : ErrorInvalidHandle;
    }
    std::uint32_t WriteValue(const std::string& Name, std::uint32_t Type,
                             std::span<const std::uint8_t> Data) const {
        return IsOpen() ? FRegistry->WriteValue(FHandle, Name, Type, Data) : ErrorInvalidHandle;
    }
    std::uint32_t ValueNames(std::vector<std::string>& Names) const {
        return IsOpen() ? FRegistry->ValueNames(FHandle, Names) : ErrorInvalidHandle;
    }

    std::uint32_t Close() {
        if (!IsOpen())
            return ErrorSuccess;
        return FRegistry->CloseKey(std::exchange(FHandle, 0));
    }

private:
    IRegistry* FRegistry;
    TRegKeyHandle FHandle = 0;
};

} // namespace q7n::platform
