#pragma once

#include "base/StatusOr.h"

#include <cstdint>

namespace q7n::testing {

// The code of a status, which the tests compare with the code they expect.
inline std::uint32_t Code(const TStatus& Status) {
    return Status.Code();
}
template <class T> std::uint32_t Code(const TStatusOr<T>& Result) {
    return Result.Status().Code();
}

} // namespace q7n::testing
