#pragma once

#include "base/Persistent.h"

#include <string>
#include <vector>

namespace q7n {

// An object with an owner that frees it and a name unique within that owner.
// A component owns the components created with it as their owner and frees them, the newest
// first, when it is destroyed. A component destroyed on its own leaves its owner's list.
class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* Owner);
    ~TComponent() override;

    TComponent* Owner() const { return FOwner; }

    const std::string& Name() const { return FName; }
    // Raises EComponentError when another component of the same owner has this name
    // (letter case does not count). An empty name is never a clash.
    void SetName(const std::string& Value);

    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    // The owned component at Index, in creation order; raises EListError outside the bounds.
    TComponent* Components(int Index) const;
    // The owned component of that name (letter case does not count), or nullptr.
    TComponent* FindComponent(const std::string& Name) const;

private:
    void Insert(TComponent* Component);
    void Remove(TComponent* Component);

    TComponent* FOwner;
    std::string FName;
    std::vector<TComponent*> FComponents;
};

} // namespace q7n
