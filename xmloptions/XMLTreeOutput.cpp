#include "xmloptions/XMLTreeOutput.h"

#include "xmloptions/XMLElement.h"

namespace q7n {

// pugixml takes zero-terminated strings: the views are copied into strings for it.

void TXMLTreeOutput::BeginElement(const std::string& Name) {
    FCurrent = AppendElement(FCurrent, Name);
}

void TXMLTreeOutput::Attribute(std::string_view Name, std::string_view Value) {
    FCurrent.append_attribute(std::string(Name).c_str()).set_value(std::string(Value).c_str());
}

void TXMLTreeOutput::Text(std::string_view Text) {
    FCurrent.append_child(pugi::node_pcdata).set_value(std::string(Text).c_str());
}

void TXMLTreeOutput::EndElement() {
    FCurrent = FCurrent.parent();
}

} // namespace q7n
