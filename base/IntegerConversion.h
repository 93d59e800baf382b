#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace q7n {

// The standard text-to-integer conversion: leading blanks, an optional sign, then decimal digits
// or a hexadecimal number introduced by "$", "x" or "0x" (either case of x). Anything else,
// trailing blanks included, an empty text and a decimal value outside 32 bits fails. A hexadecimal
// number may use all 32 bits and is taken as their pattern, so "$FFFFFFFF" is -1.
std::optional<std::int32_t> TryStrToInt(std::string_view Text);

// As TryStrToInt, but raises EConvertError "'<text>' is not a valid integer value".
std::int32_t StrToInt(std::string_view Text);

} // namespace q7n
