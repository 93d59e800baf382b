#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace q7n {

// Where Text first holds what an XML 1.0 document cannot carry, not even as a character
// reference: bytes that are not UTF-8, or a character outside XML's Char production (the control
// characters other than tab, line feed and carriage return; surrogates; U+FFFE and U+FFFF).
// std::string_view::npos when it holds none.
std::size_t FindUnwritableCharacter(std::string_view Text);

// Text for a message: every unwritable character shown as its code ("\x01", "\xE9").
std::string QuoteForMessage(std::string_view Text);

} // namespace q7n
