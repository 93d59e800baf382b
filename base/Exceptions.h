#pragma once

#include <stdexcept>
#include <string>

namespace q7n {

// Root of the errors that the configurator's own code raises.
class Exception : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Text that does not convert to the requested type.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// An index outside a list's bounds; the text names the index.
class EListError : public Exception {
public:
    explicit EListError(int Index);
};

// A value outside the declared range of the property it is meant for.
class ERangeError : public Exception {
public:
    using Exception::Exception;
};

// The silent abort: stops an operation; the top-level handler ignores it without a message.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
};

// Two components of one owner may not share a name.
class EComponentError : public Exception {
public:
    using Exception::Exception;
};

} // namespace q7n
