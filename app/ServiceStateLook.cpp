#include "app/ServiceStateLook.h"

namespace q7n::app {

const std::array<TColor, ServiceStateCount> ServiceStateColors = {
    Red, Red, Amber, Amber, Green, Amber, Amber, Amber,
};

TServiceStateLook ServiceStateLook(TServiceState State) {
    return {ServiceStateCaption(State), ServiceStateColors[State < ServiceStateCount ? State : 0]};
}

} // namespace q7n::app
