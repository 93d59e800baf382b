#pragma once

#include "platform/Registry.h"

namespace q7n::platform {

// The Windows registry through the wide entry points, with UTF-8 names and text. Every key is
// opened in the 32-bit view (KEY_WOW64_32KEY): this is a 32-bit program's registry, so a 64-bit
// build keeps its values where the 32-bit one, and anything reading that key, finds them.
class TWin32Registry final : public IRegistry {
public:
    TStatusOr<TRegCreatedKey> CreateKey(TRegRoot Root, const std::string& Path,
                                        std::uint32_t Access) override;
    TStatusOr<TRegKeyOwner> OpenKey(TRegRoot Root, const std::string& Path,
                                    std::uint32_t Access) override;
    TStatusOr<TRegValueInfo> QueryValue(TRegKeyHandle Key, const std::string& Name) override;
    TStatusOr<TRegValue> ReadValue(TRegKeyHandle Key, const std::string& Name) override;
    TStatus WriteValue(TRegKeyHandle Key, const std::string& Name, std::uint32_t Type,
                       std::span<const std::uint8_t> Data) override;
    TStatusOr<std::vector<std::string>> ValueNames(TRegKeyHandle Key) override;
    TStatus DeleteKeyTree(TRegRoot Root, const std::string& Path) override;
    TStatus CloseKey(TRegKeyHandle Key) override;
};

} // namespace q7n::platform
