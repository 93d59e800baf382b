#pragma once

#include "base/Component.h"
#include "platform/Registry.h"
#include "settings/DCAppInfo.h"
#include "settings/DataContainer.h"
#include "settings/DataContainerDialog.h"
#include "settings/RegValueCategory.h"
#include "settings/RegistryValues.h"

#include <string>

namespace q7n {

// The identity and the key of the configurator's setting.
inline constexpr const char* ServiceOptionsFirmName = "TAVO";
inline constexpr const char* ServiceOptionsApplicationName = "Q7NService";
inline constexpr const char* ServiceOptionsRegistryKey = "MainOptions";

// Where the configurator keeps its setting, below HKEY_LOCAL_MACHINE.
inline const std::string ServiceOptionsKeyPath = IdentityKeyPath(
    ServiceOptionsFirmName, ServiceOptionsApplicationName, 0, ServiceOptionsRegistryKey);

// The configurator's settings: the path of the ports file it saved last, in the registry value
// "rgCfgFile". Loaded when the module is created, written at its end when still unsaved.
class TdmServiceOptions : public TComponent {
public:
    // Over the registry of this build.
    explicit TdmServiceOptions(TComponent* Owner);
    TdmServiceOptions(TComponent* Owner, platform::IRegistry& Registry);
    ~TdmServiceOptions() override;

    // The module's components, in their order.
    TDataContainerDialog* DataContainerDialog = nullptr;
    TDCAppInfo* DCAppInfo = nullptr;
    TDataContainer* DataContainer = nullptr;
    TRegValueCategory* rgcFile = nullptr;
    TRegFile* rgCfgFile = nullptr;

    // Collects the setting and loads it.
    void DataModuleCreate();
    // Writes the setting when it is still flagged.
    void DataModuleDestroy();
};

// The one module of the running program; it clears itself when the module is freed.
extern TdmServiceOptions* dmServiceOptions;

// Creates the module and makes it dmServiceOptions, as the program does at start-up.
TdmServiceOptions* CreateServiceOptions(TComponent* Owner);
TdmServiceOptions* CreateServiceOptions(TComponent* Owner, platform::IRegistry& Registry);

} // namespace q7n
