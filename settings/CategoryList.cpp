#include "settings/CategoryList.h"

#include "base/Exceptions.h"
#include "settings/RegValueCategory.h"

#include <algorithm>

namespace q7n {

TRegValueCategory* TCategoryList::Items(int Index) const {
    if (Index < 0 || Index >= Count())
        throw EListError(Index);
    return FItems[static_cast<std::size_t>(Index)];
}

bool TCategoryList::Contains(const std::string& Caption) const {
    return std::any_of(FItems.begin(), FItems.end(),
                       [&](const TRegValueCategory* Item) { return Item->Caption() == Caption; });
}

void TCategoryList::Add(TRegValueCategory* Category) {
    if (Category && !Contains(Category->Caption()))
        FItems.push_back(Category);
}

} // namespace q7n
