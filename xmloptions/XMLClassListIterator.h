#pragma once

namespace q7n {

class TXMLClassList;

// A cursor over an option object list; position -1 stands before the first item.
class TXMLClassListIterator {
public:
    TXMLClassListIterator() { Attach(nullptr); }
    virtual ~TXMLClassListIterator() = default;

    // Walks List (not owned) from before its first item.
    void Attach(TXMLClassList* List) {
        FList = List;
        FPosition = -1;
    }

    TXMLClassList* List() const { return FList; }
    int Position() const { return FPosition; }

private:
    TXMLClassList* FList = nullptr;
    int FPosition = -1;
};

} // namespace q7n
