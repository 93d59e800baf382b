#pragma once

#include "base/Component.h"
#include "platform/Registry.h"
#include "settings/CategoryList.h"
#include "settings/RegValueCategory.h"
#include "settings/RegistrySaver.h"
#include "settings/RegistryValueShell.h"

#include <memory>
#include <optional>
#include <string>

namespace q7n {

class TDCAppInfo;

enum TDataContainerState { dcsIdle, dcsSaving, dcsLoading };

// Keeps the settings of its owner in one registry key: it collects them, loads them and writes
// back those that changed. It refers to the settings and the identity and frees neither; it
// does not save by itself.
class TDataContainer : public TComponent {
public:
    // Over the registry of this build.
    explicit TDataContainer(TComponent* Owner);
    TDataContainer(TComponent* Owner, platform::IRegistry& Registry);
    ~TDataContainer() override;

    TCategoryList* Categories() const { return FCategories.get(); }
    TDCAppInfo* DCAppInfo() const { return FDCAppInfo; }
    void SetDCAppInfo(TDCAppInfo* Value) { FDCAppInfo = Value; }
    // Held for a settings dialog, which this system does not have.
    TComponent* ImageList() const { return FImageList; }
    void SetImageList(TComponent* Value) { FImageList = Value; }
    TImageIndex ImageIndex() const { return FImageIndex; }
    void SetImageIndex(TImageIndex Value) { FImageIndex = Value; }
    // The last component of the built key path; empty text is not taken.
    const std::string& RegistryKey() const { return FRegistryKey; }
    void SetRegistryKey(const std::string& Value);
    TRegistrySaver* Saver() const { return FSaver.get(); }
    TDataContainerState State() const { return FState; }
    const std::string& Description() const { return FDescription; }
    void SetDescription(const std::string& Value) { FDescription = Value; }
    // When not empty, the key path in place of the built one.
    const std::string& RegPath() const { return FRegPath; }
    void SetRegPath(const std::string& Value) { FRegPath = Value; }
    const TOnUpdateResource& OnUpdateResource() const { return FOnUpdateResource; }
    void SetOnUpdateResource(TOnUpdateResource Value) { FOnUpdateResource = std::move(Value); }

    platform::IRegistry& Registry() const { return FRegistry; }
    // The key below HKEY_LOCAL_MACHINE that the passes use; nothing without an identity when
    // RegPath is empty, and nothing when RegPath holds backslashes alone.
    std::optional<std::string> KeyPath() const { return FSaver->KeyPath(FRegPath); }

    // Gathers every setting of the owner, in the owner's order, and their categories; each
    // call starts afresh.
    void CollectItems();
    void Load();
    void Save();
    // The container's handler, then each setting's, in collecting order.
    void NotifyUpdateResource(bool aUpdateResource);

private:
    std::unique_ptr<TCategoryList> FCategories;
    TDCAppInfo* FDCAppInfo = nullptr;
    TComponent* FImageList = nullptr;
    TImageIndex FImageIndex = 0;
    std::string FRegistryKey = "MainOptions";
    std::unique_ptr<TRegistrySaver> FSaver;
    TDataContainerState FState = dcsIdle;
    std::string FDescription = "Options";
    std::string FRegPath;
    TOnUpdateResource FOnUpdateResource;
    platform::IRegistry& FRegistry;
};

} // namespace q7n
