#include "settings/DataContainer.h"

namespace q7n {

namespace {

// Puts the container back to idle however a pass ends, a handler's error included, so that
// later changes still count.
class TStateScope {
public:
    TStateScope(TDataContainerState& State, TDataContainerState During) : FState(State) {
        FState = During;
    }
    TStateScope(const TStateScope&) = delete;
    TStateScope& operator=(const TStateScope&) = delete;
    ~TStateScope() { FState = dcsIdle; }

private:
    TDataContainerState& FState;
};

} // namespace

TDataContainer::TDataContainer(TComponent* Owner)
    : TDataContainer(Owner, platform::DefaultRegistry()) {}

TDataContainer::TDataContainer(TComponent* Owner, platform::IRegistry& Registry)
    : TComponent(Owner), FCategories(std::make_unique<TCategoryList>()),
      FSaver(std::make_unique<TRegistrySaver>(this)), FRegistry(Registry) {}

TDataContainer::~TDataContainer() {
    FSaver->Items()->Clear();
}

void TDataContainer::SetRegistryKey(const std::string& Value) {
    if (!Value.empty())
        FRegistryKey = Value;
}

void TDataContainer::CollectItems() {
    FCategories->Clear();
    TRegistrySaverItems* Items = FSaver->Items();
    Items->Clear();
    TComponent* Owner = this->Owner();
    if (!Owner)
        return;
    for (int I = 0; I < Owner->ComponentCount(); ++I) {
        auto* Setting = dynamic_cast<TRegistryValueShell*>(Owner->Components(I));
        if (!Setting)
            continue;
        FCategories->Add(Setting->Category());
        Setting->FOwnerContainer = this;
        Items->Add(Setting);
    }
}

void TDataContainer::Load() {
    TStateScope Loading(FState, dcsLoading);
    FSaver->LoadValues(FRegPath);
    NotifyUpdateResource(true);
}

void TDataContainer::Save() {
    TStateScope Saving(FState, dcsSaving);
    NotifyUpdateResource(false);
    FSaver->SaveValues(FRegPath);
}

void TDataContainer::NotifyUpdateResource(bool aUpdateResource) {
    if (FOnUpdateResource)
        FOnUpdateResource(aUpdateResource);
    TRegistrySaverItems* Items = FSaver->Items();
    for (int I = 0; I < Items->Count(); ++I)
        Items->Items(I)->DoUpdateResource(aUpdateResource);
}

} // namespace q7n
