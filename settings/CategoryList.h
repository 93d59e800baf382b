#pragma once

#include <string>
#include <vector>

namespace q7n {

class TRegValueCategory;

// The categories of a container's settings, one per caption, in the order first met. The list
// only refers to them.
class TCategoryList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises EListError outside the bounds.
    TRegValueCategory* Items(int Index) const;
    // Whether a listed category has exactly this caption (letter case counts).
    bool Contains(const std::string& Caption) const;
    // Appends Category unless it is none or its caption is listed already.
    void Add(TRegValueCategory* Category);
    void Clear() { FItems.clear(); }

private:
    std::vector<TRegValueCategory*> FItems;
};

} // namespace q7n
