#pragma once

#include "ports/PortRates.h" // the rates the port editor offers, kept beside the checks that need them

#include <cstdint>
#include <string>

namespace q7n {

// The COM ports the port editor offers: COM1 to COM256, entry i standing for COM port i + 1.
constexpr int COMPortEntryCount = 256;

// "COM" followed by Number in decimal, as the editors show a COM port.
std::string COMPortText(std::int32_t Number);

} // namespace q7n
