#pragma once

#include "xmloptions/XMLOutput.h"

#include <pugixml.hpp>

namespace q7n {

// Builds the elements as children of a pugixml node, as AppendElement and text nodes do.
class TXMLTreeOutput : public IXMLOutput {
public:
    explicit TXMLTreeOutput(pugi::xml_node Parent) : FCurrent(Parent) {}

    void BeginElement(const std::string& Name) override;
    void Attribute(std::string_view Name, std::string_view Value) override;
    void Text(std::string_view Text) override;
    void EndElement() override;

private:
    pugi::xml_node FCurrent;
};

} // namespace q7n
