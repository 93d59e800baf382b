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

// Whether no text or attribute value that a parser reads from the raw document Raw can hold what
// FindUnwritableCharacter finds: true when Raw is ASCII of printable characters, tabs and line
// ends, and each of its numeric character references names a character that XML allows. False
// means "not sure": the parsed texts are then to be checked one by one. One quick pass over the
// whole file instead of a check of each text.
bool TextsSurelyWritable(std::string_view Raw);

// Text for a message: every unwritable character shown as its code ("\x01", "\xE9").
std::string QuoteForMessage(std::string_view Text);

} // namespace q7n
