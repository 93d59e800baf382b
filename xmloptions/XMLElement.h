#pragma once

#include <bit>
#include <cstring>
#include <pugixml.hpp>
#include <string>
#include <type_traits>

// The element operations that option objects need from the XML DOM, on top of pugixml.
namespace q7n {

// A pugixml node handle is one pointer, and each of its accessors, down to the test for an empty
// handle, is a call into the library; a load of many mappings makes millions of them. These look at
// the pointer itself.
static_assert(sizeof(pugi::xml_node) == sizeof(pugi::xml_node_struct*) &&
              std::is_trivially_copyable_v<pugi::xml_node>);
inline pugi::xml_node_struct* NodeOf(pugi::xml_node Node) {
    return std::bit_cast<pugi::xml_node_struct*>(Node);
}
inline pugi::xml_node NodeAt(pugi::xml_node_struct* Node) {
    return std::bit_cast<pugi::xml_node>(Node);
}
inline bool IsNode(pugi::xml_node Node) {
    return NodeOf(Node) != nullptr;
}

// Whether the node name Name is Expected.
inline bool NameIs(const std::string& Expected, const char* Name) {
    return std::strcmp(Expected.c_str(), Name) == 0;
}

namespace detail {
[[noreturn]] void ThrowNotSingleTextNode();
}

// The text of an element that holds exactly one text or CDATA node, or nothing (empty text), up
// to its first NUL. Raises EXMLElementError "Element does not contain a single text node"
// otherwise. The text lives as long as the document. Inline: a load reads one for each value.
inline const char* ElementText(pugi::xml_node Element) {
    const pugi::xml_node First = Element.first_child();
    if (!IsNode(First))
        return "";
    const pugi::xml_node_type Type = First.type();
    if ((Type != pugi::node_pcdata && Type != pugi::node_cdata) || IsNode(First.next_sibling()))
        detail::ThrowNotSingleTextNode();
    return First.value();
}

// Appends a child element after the existing children; raises EXMLElementError when Name is
// not a valid XML name, so that no malformed document is ever written.
pugi::xml_node AppendElement(pugi::xml_node Parent, const std::string& Name);

// The first child element of that name; when there is none, an empty one is appended.
pugi::xml_node ChildElementAutoCreate(pugi::xml_node Parent, const std::string& Name);

// The next sibling that is an element, and the first child that is one; none past the last.
inline pugi::xml_node NextSiblingElement(pugi::xml_node Node) {
    for (Node = Node.next_sibling(); IsNode(Node); Node = Node.next_sibling())
        if (Node.type() == pugi::node_element)
            return Node;
    return Node;
}
inline pugi::xml_node FirstChildElement(pugi::xml_node Parent) {
    pugi::xml_node Child = Parent.first_child();
    if (!IsNode(Child))
        return Child;
    return Child.type() == pugi::node_element ? Child : NextSiblingElement(Child);
}

bool IsValidXMLName(const std::string& Name);
// Raises EXMLElementError "'Name' is not a valid element name" unless IsValidXMLName(Name).
void RequireValidElementName(const std::string& Name);

} // namespace q7n
