#pragma once

#include "platform/Registry.h"

namespace q7n::platform {

// The Windows registry through the wide entry points, with UTF-8 names and text. Every key is
// opened in the 32-bit view (KEY_WOW64_32KEY): this is a 32-bit program's registry, so a 64-bit
// build keeps its values where the 32-bit one, and anything reading that key, finds them.
class TWin32Registry final : public IRegistry {
public:
    std::uint32_t CreateKey(TRegRoot Root, const std::string& Path, std::uint32_t Access,
                            TRegKeyHandle& Key, std::uint32_t& Disposition) override;
    std::uint32_t OpenKey(TRegRoot Root, const std::string& Path, std::uint32_t Access,
                          TRegKeyHandle& Key) override;
    std::uint32_t QueryValue(TRegKeyHandle Key, const std::string& Name, std::uint32_t& Type,
                             std::uint32_t& Size) override;
    std::uint32_t ReadValue(TRegKeyHandle Key, const std::string& Name, std::uint32_t& Type,
                            std::vector<std::uint8_t>& Data) override;
    std::uint32_t WriteValue(TRegKeyHandle Key, const std::string& Name, std::uint32_t Type,
                             std::span<const std::uint8_t> Data) override;
    std::uint32_t ValueNames(TRegKeyHandle Key, std::vector<std::string>& Names) override;
    std::uint32_t DeleteKeyTree(TRegRoot Root, const std::string& Path) override;
    std::uint32_t CloseKey(TRegKeyHandle Key) override;
};

} // namespace q7n::platform
