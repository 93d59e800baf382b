#pragma once

#include "platform/Registry.h"
#include "settings/RegistrySaverItems.h"

#include <memory>
#include <optional>
#include <string>

namespace q7n {

class TDataContainer;

// "Software\<firm>\<application>\<index>\<key>": where the settings of an identity live.
std::string IdentityKeyPath(const std::string& FirmName, const std::string& ApplicationName,
                            unsigned ApplicationIndex, const std::string& RegistryKey);

// Loads and saves a container's settings, one registry value each, in one key below
// HKEY_LOCAL_MACHINE. Each pass opens the key once and closes it at its end; registry errors end
// a pass without a word.
class TRegistrySaver {
public:
    explicit TRegistrySaver(TDataContainer* Container);
    TRegistrySaver(const TRegistrySaver&) = delete;
    TRegistrySaver& operator=(const TRegistrySaver&) = delete;

    TRegistrySaverItems* Items() const { return FItems.get(); }
    platform::TRegRoot RootKey() const { return FRootKey; }

    // Path when it is not empty, otherwise "\Software\<firm>\<application>\<index>\<key>" of the
    // container's identity; one leading backslash dropped. Nothing when the path cannot be built
    // (no identity) or names no key below the root (backslashes alone).
    std::optional<std::string> KeyPath(const std::string& Path) const;

    // Writes the flagged settings, clearing each flag just before the write, and stops at the
    // first failed write. The key is created, all the way, even when nothing is flagged.
    void SaveValues(const std::string& Path);
    // Reads every setting whose value the key holds; flags those it lacks. Stops at the first
    // value that cannot be read as its setting's kind.
    void LoadValues(const std::string& Path);

private:
    std::unique_ptr<TRegistrySaverItems> FItems;
    TDataContainer* FContainer;
    platform::TRegRoot FRootKey = platform::TRegRoot::rrLocalMachine;
};

} // namespace q7n
