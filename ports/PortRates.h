#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace q7n {

// A COM baud rate as the port editor offers it.
struct TPortRate {
    const char* Text;
    std::int32_t Rate;
};

// The rates the port editor offers, in the order shown; nothing above 115200.
inline constexpr std::array<TPortRate, 13> OfferedPortRates = {{
    {"br110", 110},
    {"br300", 300},
    {"br600", 600},
    {"br1200", 1200},
    {"br2400", 2400},
    {"br4800", 4800},
    {"br9600", 9600},
    {"br14400", 14400},
    {"br19200", 19200},
    {"br38400", 38400},
    {"br56000", 56000},
    {"br57600", 57600},
    {"br115200", 115200},
}};

// The entry of OfferedPortRates whose rate is Rate, or -1 when none is.
inline constexpr int OfferedPortRateIndex(std::int32_t Rate) {
    for (std::size_t I = 0; I < OfferedPortRates.size(); ++I)
        if (OfferedPortRates[I].Rate == Rate)
            return static_cast<int>(I);
    return -1;
}

inline constexpr bool IsOfferedPortRate(std::int32_t Rate) {
    return OfferedPortRateIndex(Rate) >= 0;
}

} // namespace q7n
