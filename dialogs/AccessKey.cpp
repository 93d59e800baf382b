#include "dialogs/AccessKey.h"

#include <cctype>

namespace q7n {

char AccessKeyOf(std::string_view Caption) {
    for (std::size_t I = 0; I + 1 < Caption.size(); ++I) {
        if (Caption[I] != '&')
            continue;
        if (Caption[I + 1] != '&')
            return char(std::tolower(static_cast<unsigned char>(Caption[I + 1])));
        ++I; // "&&" is the character itself
    }
    return 0;
}

} // namespace q7n
