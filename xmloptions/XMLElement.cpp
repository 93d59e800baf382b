#include "xmloptions/XMLElement.h"

#include "xmloptions/XMLErrors.h"

namespace q7n {

namespace {

bool IsNameStartChar(unsigned char C) {
    return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_' || C == ':' || C >= 0x80;
}

bool IsNameChar(unsigned char C) {
    return IsNameStartChar(C) || (C >= '0' && C <= '9') || C == '-' || C == '.';
}

} // namespace

bool IsValidXMLName(const std::string& Name) {
    if (Name.empty() || !IsNameStartChar(static_cast<unsigned char>(Name[0])))
        return false;
    for (char C : Name)
        if (!IsNameChar(static_cast<unsigned char>(C)))
            return false;
    return true;
}

void RequireValidElementName(const std::string& Name) {
    if (!IsValidXMLName(Name))
        throw EXMLElementError("'" + Name + "' is not a valid element name");
}

std::string_view ElementText(pugi::xml_node Element) {
    pugi::xml_node First = Element.first_child();
    if (!IsNode(First))
        return {};
    const pugi::xml_node_type Type = First.type();
    if ((Type != pugi::node_pcdata && Type != pugi::node_cdata) || IsNode(First.next_sibling()))
        throw EXMLElementError("Element does not contain a single text node");
    return First.value();
}

void SetElementText(pugi::xml_node Element, const std::string& Text) {
    while (Element.first_child())
        Element.remove_child(Element.first_child());
    Element.append_child(pugi::node_pcdata).set_value(Text.c_str());
}

pugi::xml_node AppendElement(pugi::xml_node Parent, const std::string& Name) {
    RequireValidElementName(Name);
    return Parent.append_child(Name.c_str());
}

pugi::xml_node ChildElementAutoCreate(pugi::xml_node Parent, const std::string& Name) {
    if (pugi::xml_node Child = Parent.child(Name.c_str()))
        return Child;
    return AppendElement(Parent, Name);
}

pugi::xml_node FirstChildElement(pugi::xml_node Parent) {
    pugi::xml_node Child = Parent.first_child();
    if (!IsNode(Child))
        return Child;
    return Child.type() == pugi::node_element ? Child : NextSiblingElement(Child);
}

pugi::xml_node NextSiblingElement(pugi::xml_node Node) {
    for (Node = Node.next_sibling(); IsNode(Node); Node = Node.next_sibling())
        if (Node.type() == pugi::node_element)
            return Node;
    return Node;
}

} // namespace q7n
