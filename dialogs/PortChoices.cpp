#include "PortChoices.h"

namespace q7n {

namespace {

constexpr TRateEntry Rates[] = {
    {"br110", 110},       {"br300", 300},     {"br600", 600},     {"br1200", 1200},
    {"br2400", 2400},     {"br4800", 4800},   {"br9600", 9600},   {"br14400", 14400},
    {"br19200", 19200},   {"br38400", 38400}, {"br56000", 56000}, {"br57600", 57600},
    {"br115200", 115200},
};

} // namespace

std::string COMPortText(std::int32_t Number) {
    return "COM" + std::to_string(Number);
}

std::span<const TRateEntry> RateEntries() {
    return Rates;
}

int RateEntryIndex(std::int32_t Rate) {
    for (std::size_t I = 0; I < std::size(Rates); ++I)
        if (Rates[I].Rate == Rate)
            return static_cast<int>(I);
    return -1;
}

} // namespace q7n
