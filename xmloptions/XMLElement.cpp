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

void detail::ThrowNotSingleTextNode() {
    throw EXMLElementError("Element does not contain a single text node");
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

} // namespace q7n
