#pragma once

#include <array>
#include <cstdint>

namespace q7n {

// Code 0: no state was obtained (not installed, no manager connection, the query failed);
// 1 to 7: the service manager's current-state values.
using TServiceState = std::uint8_t;

inline constexpr int ServiceStateCount = 8;

// Windows colour values, 0x00BBGGRR.
using TColor = std::uint32_t;

// Captions and caption colours of the states, indexed by the code.
extern const std::array<const char*, ServiceStateCount> ServiceStateCaptions;
extern const std::array<TColor, ServiceStateCount> ServiceStateColors;

} // namespace q7n
