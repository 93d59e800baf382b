#pragma once

namespace q7n {

// An object whose state can be copied from another persistent object.
class TPersistent {
public:
    TPersistent() = default;
    TPersistent(const TPersistent&) = delete;
    TPersistent& operator=(const TPersistent&) = delete;
    virtual ~TPersistent() = default;

    // Copies Source's state into this object. The base knows no state and does nothing.
    virtual void CopyFrom(const TPersistent* Source) { (void)Source; }
};

} // namespace q7n
