#pragma once

#include "base/Component.h"

#include <cstdint>
#include <string>

namespace q7n {

class TDataContainer;

// The index of an image in an image list; -1 for none.
using TImageIndex = std::int32_t;

// A group of settings for display. Its DataContainer is held for whoever shows the group; the
// collecting pass does not look at it.
class TRegValueCategory : public TComponent {
public:
    using TComponent::TComponent;

    TDataContainer* DataContainer() const { return FDataContainer; }
    void SetDataContainer(TDataContainer* Value) { FDataContainer = Value; }
    TImageIndex ImageIndex() const { return FImageIndex; }
    void SetImageIndex(TImageIndex Value) { FImageIndex = Value; }
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value) { FCaption = Value; }

private:
    TDataContainer* FDataContainer = nullptr;
    TImageIndex FImageIndex = -1;
    std::string FCaption;
};

} // namespace q7n
