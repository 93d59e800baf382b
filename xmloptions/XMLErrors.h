#pragma once

#include "base/Exceptions.h"

#include <string>
#include <utility>

namespace q7n {

// An element whose content is not what an option object can read, or a name that is not XML.
class EXMLElementError : public Exception {
public:
    using Exception::Exception;
};

// A value that could not be read, with where it stands: the element that holds it and the item,
// counted from 1, of the innermost list around it (0 when there is none).
class EXMLValueError : public EXMLElementError {
public:
    EXMLValueError(const std::string& Message, std::string ElementName)
        : EXMLElementError(Message), Element(std::move(ElementName)) {}
    std::string Element;
    int Item = 0;
};

// A name, value or text that XML 1.0 cannot carry met by a writer that cannot say where it stands
// in the document (TXMLTextWriter): the caller renders the tree instead, which names the place.
class EXMLUnwritableText : public EXMLElementError {
public:
    EXMLUnwritableText() : EXMLElementError("A text holds a character that XML 1.0 cannot carry") {}
};

// A property that has no write access was asked to take a value.
class EPropertyError : public Exception {
public:
    using Exception::Exception;
};

} // namespace q7n
