#include "settings/RegistryValueShell.h"

#include "settings/DataContainer.h"

namespace q7n {

TRegistryValueShell::TRegistryValueShell(TComponent* Owner, TRegistryValueType DateType)
    : TComponent(Owner), FDateType(DateType) {}

void TRegistryValueShell::Changed() {
    if (FOwnerContainer && FOwnerContainer->State() == dcsIdle)
        FModified = true;
}

void TRegistryValueShell::DoUpdateResource(bool aUpdateResource) {
    if (FOnUpdateResource)
        FOnUpdateResource(aUpdateResource);
}

} // namespace q7n
