#include "base/Component.h"

#include "base/Exceptions.h"
#include "base/TextCompare.h"

#include <algorithm>
#include <cctype>

namespace q7n {

TComponent::TComponent(TComponent* Owner) : FOwner(Owner) {
    if (FOwner)
        FOwner->Insert(this);
}

TComponent::~TComponent() {
    while (!FComponents.empty()) {
        TComponent* Last = FComponents.back();
        FComponents.pop_back();
        Last->FOwner = nullptr; // already out of our list
        delete Last;
    }
    if (FOwner)
        FOwner->Remove(this);
}

void TComponent::SetName(const std::string& Value) {
    if (Value == FName)
        return;
    if (FOwner && !Value.empty()) {
        TComponent* Other = FOwner->FindComponent(Value);
        if (Other && Other != this)
            throw EComponentError("A component named " + Value + " already exists");
    }
    FName = Value;
}

TComponent* TComponent::Components(int Index) const {
    if (Index < 0 || Index >= ComponentCount())
        throw EListError(Index);
    return FComponents[static_cast<std::size_t>(Index)];
}

TComponent* TComponent::FindComponent(const std::string& Name) const {
    if (Name.empty())
        return nullptr;
    for (TComponent* Component : FComponents)
        if (SameText(Component->FName, Name))
            return Component;
    return nullptr;
}

void TComponent::Insert(TComponent* Component) {
    FComponents.push_back(Component);
}

void TComponent::Remove(TComponent* Component) {
    auto It = std::find(FComponents.begin(), FComponents.end(), Component);
    if (It != FComponents.end())
        FComponents.erase(It);
}

} // namespace q7n
