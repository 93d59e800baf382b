#pragma once

#include "xmloptions/XMLClassListIterator.h"

#include <memory>
#include <vector>

namespace q7n {

// A pool of list cursors that owns every cursor it hands out until the pool is destroyed.
class TPoolObjects {
public:
    TPoolObjects() = default;
    TPoolObjects(const TPoolObjects&) = delete;
    TPoolObjects& operator=(const TPoolObjects&) = delete;
    virtual ~TPoolObjects();

    // Makes a new cursor, attached to no list. The caller owns it.
    virtual std::unique_ptr<TXMLClassListIterator> CreateObject();

    // A cursor from the pool, owned by the pool; it stays valid while the pool lives.
    TXMLClassListIterator* Acquire();

    int Count() const { return static_cast<int>(FEntries.size()); }

private:
    // One pooled object with the entry that holds it.
    struct TPoolEntry {
        std::unique_ptr<TXMLClassListIterator> Object;
    };
    std::vector<std::unique_ptr<TPoolEntry>> FEntries;
};

// The process-wide cursor pool, created on first use and destroyed at process exit.
TPoolObjects& ObjectPool();

} // namespace q7n
