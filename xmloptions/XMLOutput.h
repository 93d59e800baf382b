#pragma once

#include <string>
#include <string_view>

namespace q7n {

// Where the walk of an option object writes its elements: a pugixml tree, or the file's text
// straight away. Each element is BeginElement, then its attributes, then its content (text and
// elements, in order), then EndElement. BeginElement raises EXMLElementError for a name that is
// not a valid XML name.
class IXMLOutput {
public:
    virtual ~IXMLOutput() = default;

    virtual void BeginElement(const std::string& Name) = 0;
    // An attribute of the element just begun, before any of its content.
    virtual void Attribute(std::string_view Name, std::string_view Value) = 0;
    // A text node in the current element; an empty one still makes the element non-empty.
    virtual void Text(std::string_view Text) = 0;
    virtual void EndElement() = 0;
};

} // namespace q7n
