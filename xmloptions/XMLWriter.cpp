#include "xmloptions/XMLWriter.h"

#include "xmloptions/XMLCharacters.h"
#include "xmloptions/XMLErrors.h"

#include <utility>

namespace q7n {

namespace {

constexpr const char* LineEnd = "\r\n";

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

void AppendEscaped(std::string& Out, const char* Text, bool InAttribute) {
    // Runs of characters that stand as they are go in at once.
    const char* Run = Text;
    const char* P = Text;
    for (; *P; ++P) {
        unsigned char C = static_cast<unsigned char>(*P);
        bool AsItIs = C >= 0x20 ? C != '&' && C != '<' && C != '>' && (C != '"' || !InAttribute)
                                : C == '\t' && !InAttribute;
        if (AsItIs)
            continue;
        Out.append(Run, static_cast<std::size_t>(P - Run));
        Run = P + 1;
        switch (C) {
        case '&':
            Out += "&amp;";
            break;
        case '<':
            Out += "&lt;";
            break;
        case '>':
            Out += "&gt;";
            break;
        case '"':
            Out += "&quot;";
            break;
        default:
            Out += "&#";
            Out += std::to_string(C);
            Out += ';';
        }
    }
    Out.append(Run, static_cast<std::size_t>(P - Run));
}

// A text of white space alone goes as character references: readers drop such text between
// elements as indentation (pugixml, MSXML), and would read an empty value.
void AppendText(std::string& Out, const char* Text) {
    std::string_view View(Text);
    if (View.empty() || View.find_first_not_of(" \t\r\n") != std::string_view::npos) {
        AppendEscaped(Out, Text, false);
        return;
    }
    for (char C : View) {
        Out += "&#";
        Out += std::to_string(int(C));
        Out += ';';
    }
}

bool HoldsElements(pugi::xml_node Element) {
    for (pugi::xml_node Child = Element.first_child(); Child; Child = Child.next_sibling())
        if (Child.type() == pugi::node_element)
            return true;
    return false;
}

void RenderElement(std::string& Out, pugi::xml_node Element, bool Indent, int Depth) {
    if (Indent && Depth > 0) {
        Out += LineEnd;
        Out.append(static_cast<std::size_t>(Depth) * 2, ' ');
    }
    RequireWritable(Element.name(), Element, "element name");
    Out += '<';
    Out += Element.name();
    for (pugi::xml_attribute Attribute = Element.first_attribute(); Attribute;
         Attribute = Attribute.next_attribute()) {
        RequireWritable(Attribute.name(), Element, "attribute name");
        RequireWritable(Attribute.value(), Element, std::string("attribute ") + Attribute.name());
        Out += ' ';
        Out += Attribute.name();
        Out += "=\"";
        AppendEscaped(Out, Attribute.value(), true);
        Out += '"';
    }
    if (!Element.first_child()) {
        Out += "/>";
        return;
    }
    Out += '>';
    bool Nested = HoldsElements(Element);
    for (pugi::xml_node Child = Element.first_child(); Child; Child = Child.next_sibling()) {
        if (Child.type() == pugi::node_element)
            RenderElement(Out, Child, Indent, Depth + 1);
        else if (Child.type() == pugi::node_pcdata || Child.type() == pugi::node_cdata) {
            RequireWritable(Child.value(), Element, "value");
            AppendText(Out, Child.value());
        }
    }
    if (Indent && Nested) {
        Out += LineEnd;
        Out.append(static_cast<std::size_t>(Depth) * 2, ' ');
    }
    Out += "</";
    Out += Element.name();
    Out += '>';
}

} // namespace

std::string RenderXMLDocument(const pugi::xml_document& Document, bool Indent) {
    std::string Out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    Out += LineEnd;
    if (pugi::xml_node Root = Document.document_element())
        RenderElement(Out, Root, Indent, 0);
    if (Indent)
        Out += LineEnd;
    return Out;
}

} // namespace q7n
