#pragma once

#include "platform/Registry.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace q7n::platform {

// What one call of a system function that fills a buffer answered: Error 0 with Size the units
// it wrote; ErrorMoreData or ErrorInsufficientBuffer with Size the units it needs; or another
// failure.
struct TSizedAnswer {
    std::uint32_t Error = 0;
    std::size_t Size = 0;
};

// Asks the size, then the data, and asks again while the data grew in between: Call(Data,
// Capacity) is first made with no buffer (null, 0), then with a buffer of the units the last
// call needed (at least one more than it had, so that a call that keeps saying "too small"
// cannot loop). Answers the code of the last call, 0 with Buffer cut to the units written; after
// Attempts calls that each found the buffer too small, the code they answered.
template <class TUnit, class TCall>
std::uint32_t ReadSized(std::vector<TUnit>& Buffer, TCall&& Call, int Attempts = 8) {
    Buffer.clear();
    TSizedAnswer Answer;
    for (int Attempt = 0; Attempt < Attempts; ++Attempt) {
        Answer = Call(Buffer.empty() ? nullptr : Buffer.data(), Buffer.size());
        if (Answer.Error == 0) {
            Buffer.resize(std::min(Answer.Size, Buffer.size()));
            return 0;
        }
        if (Answer.Error != ErrorMoreData && Answer.Error != ErrorInsufficientBuffer)
            break;
        Buffer.resize(std::max(Answer.Size, Buffer.size() + 1));
    }
    Buffer.clear();
    return Answer.Error;
}

} // namespace q7n::platform
