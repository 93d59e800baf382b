#pragma once

#include <string_view>

namespace q7n {

// What one quick pass over a document's raw bytes can promise before the parse, so that the parsed
// tree need not be walked node by node: that no text or attribute value holds what
// FindUnwritableCharacter finds, and that no node stands deeper than Limit levels (the root element
// is level 1, its text level 2). True when Raw is ASCII of printable characters, tabs and line
// ends, every numeric character reference in it names a character that XML allows, it is an XML
// declaration, then the root element's start tag, after which it has no quote, comment, CDATA
// section, processing instruction or document type, and its elements nest no deeper than
// Limit - 1. False means "not sure": the parsed tree is then to be checked node by node.
bool SurelyWritableAndShallow(std::string_view Raw, int Limit);

} // namespace q7n
