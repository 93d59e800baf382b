#pragma once

#include <pugixml.hpp>
#include <string>

namespace q7n {

// Renders a document as the options file is written, in TXMLTextWriter's layout. Raises
// EXMLElementError, naming the value and its element, for text that XML 1.0 cannot carry (see
// FindUnwritableCharacter), and for an element name that is not a valid XML name.
std::string RenderXMLDocument(const pugi::xml_document& Document, bool Indent);

} // namespace q7n
