#pragma once

#include <algorithm>
#include <cctype>
#include <string_view>

namespace q7n {

// Whether A and B are equal when ASCII letter case is ignored.
inline bool SameText(std::string_view A, std::string_view B) {
    return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) {
               return std::tolower(static_cast<unsigned char>(X)) ==
                      std::tolower(static_cast<unsigned char>(Y));
           });
}

} // namespace q7n
