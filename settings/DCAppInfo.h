#pragma once

#include "base/Component.h"

#include <cstdint>
#include <string>

namespace q7n {

// The application identity that names a container's registry key. Empty texts are not taken.
class TDCAppInfo : public TComponent {
public:
    using TComponent::TComponent;

    const std::string& FirmName() const { return FFirmName; }
    void SetFirmName(const std::string& Value) { SetUnlessEmpty(FFirmName, Value); }
    const std::string& ApplicationName() const { return FApplicationName; }
    void SetApplicationName(const std::string& Value) { SetUnlessEmpty(FApplicationName, Value); }
    // Always 0.
    std::uint16_t ApplicationIndex() const { return FApplicationIndex; }
    // Held only: the key path does not use it.
    const std::string& UserName() const { return FUserName; }
    void SetUserName(const std::string& Value) { SetUnlessEmpty(FUserName, Value); }

private:
    static void SetUnlessEmpty(std::string& Field, const std::string& Value) {
        if (!Value.empty())
            Field = Value;
    }

    std::string FFirmName = "TAVO";
    std::string FApplicationName = "Input_AppName";
    std::uint16_t FApplicationIndex = 0;
    std::string FUserName = "DefUser";
};

} // namespace q7n
