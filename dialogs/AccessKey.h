#pragma once

#include <string_view>

namespace q7n {

// The access key of a caption: the letter after its single "&" ("&&" shows an "&"), in lower
// case; 0 for a caption without one.
char AccessKeyOf(std::string_view Caption);

} // namespace q7n
