#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The byte layouts of registry data: little-endian numbers and zero-terminated text.
namespace q7n::platform {

// The text and one terminating zero byte.
std::vector<std::uint8_t> RegTextData(std::string_view Text);
// The text up to the first zero byte, or all of it when there is none; no data is empty text.
std::string RegDataText(std::span<const std::uint8_t> Data);

std::vector<std::uint8_t> RegDwordData(std::uint32_t Value);
// Nothing unless Data holds exactly four bytes.
std::optional<std::uint32_t> RegDataDword(std::span<const std::uint8_t> Data);

// The eight bytes of the IEEE-754 double.
std::vector<std::uint8_t> RegDoubleData(double Value);
// Nothing unless Data holds exactly eight bytes.
std::optional<double> RegDataDouble(std::span<const std::uint8_t> Data);

} // namespace q7n::platform
