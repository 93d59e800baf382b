#include "xmloptions/XMLWriter.h"

#include "xmloptions/XMLCharacters.h"
#include "xmloptions/XMLErrors.h"
#include "xmloptions/XMLTextWriter.h"

#include <utility>

namespace q7n {

namespace {

// Where Element stands, for a message: "config/Q7NPorts/Item[3]/IP".
std::string ElementPath(pugi::xml_node Element) {
    std::string Path;
    for (pugi::xml_node Node = Element; Node.type() == pugi::node_element; Node = Node.parent()) {
        std::string Step = Node.name();
        if (Node.previous_sibling(Node.name()) || Node.next_sibling(Node.name())) {
            int Position = 1;
            for (pugi::xml_node Before = Node.previous_sibling(Node.name()); Before;
                 Before = Before.previous_sibling(Node.name()))
                ++Position;
            // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on "[" + std::string.
            Step += '[';
            Step += std::to_string(Position);
            Step += ']';
        }
        if (!Path.empty()) {
            Step += '/';
            Step += Path;
        }
        Path = std::move(Step);
    }
    return Path;
}

// A document holding what XML 1.0 cannot carry would be written whole, and every conforming
// reader would then refuse it: refuse it here, naming the value.
void RequireWritable(const char* Text, pugi::xml_node Element, const std::string& What) {
    if (FindUnwritableCharacter(Text) != std::string_view::npos)
        throw EXMLElementError("The " + What + " \"" + QuoteForMessage(Text) + "\" of <" +
                               ElementPath(Element) +
                               "> holds a character that XML 1.0 cannot carry");
}

// The checks come first: the writer refuses what XML cannot carry without saying where it stands.
void RenderElement(TXMLTextWriter& Writer, pugi::xml_node Element) {
    RequireWritable(Element.name(), Element, "element name");
    Writer.BeginElement(Element.name());
    for (pugi::xml_attribute Attribute = Element.first_attribute(); Attribute;
         Attribute = Attribute.next_attribute()) {
        RequireWritable(Attribute.name(), Element, "attribute name");
        RequireWritable(Attribute.value(), Element, std::string("attribute ") + Attribute.name());
        Writer.Attribute(Attribute.name(), Attribute.value());
    }
    for (pugi::xml_node Child = Element.first_child(); Child; Child = Child.next_sibling()) {
        if (Child.type() == pugi::node_element) {
            RenderElement(Writer, Child);
        } else if (Child.type() == pugi::node_pcdata || Child.type() == pugi::node_cdata) {
            RequireWritable(Child.value(), Element, "value");
            Writer.Text(Child.value());
        } else {
            Writer.Text({}); // not written, but the element is not empty
        }
    }
    Writer.EndElement();
}

} // namespace

std::string RenderXMLDocument(const pugi::xml_document& Document, bool Indent) {
    TXMLTextWriter Writer(Indent);
    if (pugi::xml_node Root = Document.document_element())
        RenderElement(Writer, Root);
    return Writer.Finish();
}

} // namespace q7n
