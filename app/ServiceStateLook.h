#pragma once

#include "app/Colors.h"
#include "service/ServiceState.h"

#include <array>
#include <string_view>

namespace q7n::app {

// Caption colours of the states, indexed by the code: only running is green, only unknown and
// stopped are red.
extern const std::array<TColor, ServiceStateCount> ServiceStateColors;

// How the state label shows a state: its caption in its colour.
struct TServiceStateLook {
    std::string_view Caption;
    TColor Color;
    bool operator==(const TServiceStateLook&) const = default;
};

// The look of State; a code past the tables reads as code 0, unknown, in its red.
TServiceStateLook ServiceStateLook(TServiceState State);

} // namespace q7n::app
