#include "base/Exceptions.h"

namespace q7n {

EListError::EListError(int Index)
    : Exception("List index out of bounds (" + std::to_string(Index) + ")") {}

} // namespace q7n
