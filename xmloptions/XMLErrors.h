#pragma once

#include "Exceptions.h"

namespace q7n {

// An element whose content is not what an option object can read, or a name that is not XML.
class EXMLElementError : public Exception {
public:
    using Exception::Exception;
};

// A property that has no write access was asked to take a value.
class EPropertyError : public Exception {
public:
    using Exception::Exception;
};

} // namespace q7n
