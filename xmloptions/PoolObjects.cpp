#include "xmloptions/PoolObjects.h"

namespace q7n {

TPoolObjects::~TPoolObjects() {
    // First entry first: its object, then the entry itself.
    for (auto& Entry : FEntries) {
        Entry->Object.reset();
        Entry.reset();
    }
}

std::unique_ptr<TXMLClassListIterator> TPoolObjects::CreateObject() {
    return std::make_unique<TXMLClassListIterator>();
}

TXMLClassListIterator* TPoolObjects::Acquire() {
    auto Entry = std::make_unique<TPoolEntry>();
    Entry->Object = CreateObject();
    FEntries.push_back(std::move(Entry));
    return FEntries.back()->Object.get();
}

TPoolObjects& ObjectPool() {
    static TPoolObjects Pool;
    return Pool;
}

} // namespace q7n
