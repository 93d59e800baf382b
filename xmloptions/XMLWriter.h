#pragma once

#include <pugixml.hpp>
#include <string>

namespace q7n {

// Renders a document as the options file is written: UTF-8, the XML declaration, and, when
// Indent is on, one element per line with CR LF line ends and two spaces per level below the
// root. An element holding only text stays on one line; one holding nothing is written empty.
// Carriage returns and line feeds in text are written as character references, so that they read
// back unchanged. Raises EXMLElementError, naming the value and its element, for text that XML
// 1.0 cannot carry (see FindUnwritableCharacter).
std::string RenderXMLDocument(const pugi::xml_document& Document, bool Indent);

} // namespace q7n
