#pragma once

#include <vector>

namespace q7n {

class TRegistryValueShell;

// The settings that a saver loads and saves, in collecting order. The list only refers to them.
class TRegistrySaverItems {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // The setting at Index, or none outside the list.
    TRegistryValueShell* Items(int Index) const {
        return Index >= 0 && Index < Count() ? FItems[static_cast<std::size_t>(Index)] : nullptr;
    }
    void Add(TRegistryValueShell* Setting) { FItems.push_back(Setting); }
    void Clear() { FItems.clear(); }

private:
    std::vector<TRegistryValueShell*> FItems;
};

} // namespace q7n
