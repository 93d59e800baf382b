#include "platform/RegistryData.h"

#include <algorithm>
#include <bit>

namespace q7n::platform {

namespace {

template <class T> std::vector<std::uint8_t> LittleEndianBytes(T Value) {
    std::vector<std::uint8_t> Bytes(sizeof(T));
    for (std::size_t I = 0; I < sizeof(T); ++I)
        Bytes[I] = static_cast<std::uint8_t>((Value >> (8 * I)) & 0xFF);
    return Bytes;
}

template <class T> T FromLittleEndian(std::span<const std::uint8_t> Data) {
    T Value = 0;
    for (std::size_t I = 0; I < sizeof(T); ++I)
        Value |= static_cast<T>(Data[I]) << (8 * I);
    return Value;
}

} // namespace

std::vector<std::uint8_t> RegTextData(std::string_view Text) {
    std::vector<std::uint8_t> Data(Text.begin(), Text.end());
    Data.push_back(0);
    return Data;
}

std::string RegDataText(std::span<const std::uint8_t> Data) {
    auto End = std::find(Data.begin(), Data.end(), std::uint8_t{0});
    return std::string(Data.begin(), End);
}

std::vector<std::uint8_t> RegDwordData(std::uint32_t Value) {
    return LittleEndianBytes(Value);
}

std::optional<std::uint32_t> RegDataDword(std::span<const std::uint8_t> Data) {
    if (Data.size() != sizeof(std::uint32_t))
        return std::nullopt;
    return FromLittleEndian<std::uint32_t>(Data);
}

std::vector<std::uint8_t> RegDoubleData(double Value) {
    return LittleEndianBytes(std::bit_cast<std::uint64_t>(Value));
}

std::optional<double> RegDataDouble(std::span<const std::uint8_t> Data) {
    if (Data.size() != sizeof(double))
        return std::nullopt;
    return std::bit_cast<double>(FromLittleEndian<std::uint64_t>(Data));
}

} // namespace q7n::platform
