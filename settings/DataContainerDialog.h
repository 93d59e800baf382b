#pragma once

#include "base/Component.h"

#include <cstdint>

namespace q7n {

class TDataContainer;

// What a settings dialog over a container would need: the container and the width of its
// editors. Nothing opens such a dialog.
class TDataContainerDialog : public TComponent {
public:
    using TComponent::TComponent;

    TDataContainer* DataContainer() const { return FDataContainer; }
    void SetDataContainer(TDataContainer* Value) { FDataContainer = Value; }
    std::int32_t MaxInstrumentalWidth() const { return FMaxInstrumentalWidth; }
    // Widths of 0 and less are not taken.
    void SetMaxInstrumentalWidth(std::int32_t Value) {
        if (Value > 0)
            FMaxInstrumentalWidth = Value;
    }

private:
    TDataContainer* FDataContainer = nullptr;
    std::int32_t FMaxInstrumentalWidth = 150;
};

} // namespace q7n
