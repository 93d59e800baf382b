#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace q7n {

// The COM ports the port editor offers: COM1 to COM256, entry i standing for COM port i + 1.
constexpr int COMPortEntryCount = 256;

// "COM" followed by Number in decimal, as the editors show a COM port.
std::string COMPortText(std::int32_t Number);

struct TRateEntry {
    const char* Text;
    std::int32_t Rate;
};

// The rates the port editor offers, in the order shown; nothing above 115200.
std::span<const TRateEntry> RateEntries();

// The entry of RateEntries whose rate is Rate, or -1 when none is.
int RateEntryIndex(std::int32_t Rate);

} // namespace q7n
