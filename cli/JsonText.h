#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace q7n::cli {

// The length of the UTF-8 sequence at Text[I], or 0 when it is not one (overlong forms,
// surrogates and values above U+10FFFF included).
std::size_t Utf8Length(std::string_view Text, std::size_t I);

// Appends Text as a JSON string, quotes included: control characters escaped, and bytes that
// are not UTF-8 replaced by U+FFFD, so that the output is always valid JSON.
void AppendJsonString(std::string& Out, std::string_view Text);

// Appends Value in decimal, as JSON writes numbers.
void AppendJsonNumber(std::string& Out, std::int64_t Value);

} // namespace q7n::cli
