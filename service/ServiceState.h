#pragma once

#include <array>
#include <cstdint>

namespace q7n {

// Code 0: no state was obtained (not installed, no manager connection, the query failed);
// 1 to 7: the service manager's current-state values.
using TServiceState = std::uint8_t;

inline constexpr int ServiceStateCount = 8;

// Captions of the states, indexed by the code.
extern const std::array<const char*, ServiceStateCount> ServiceStateCaptions;

// The caption of State; a code past the table (which no poll yields) reads as code 0, unknown.
const char* ServiceStateCaption(TServiceState State);

} // namespace q7n
