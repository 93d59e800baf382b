#include "platform/CurrentDirectory.h"

#include <cerrno>
#include <cstring>
#include <system_error>
#include <unistd.h>

namespace q7n::platform {

std::string CurrentDirectory() {
    std::string Buffer(256, '\0');
    while (::getcwd(Buffer.data(), Buffer.size()) == nullptr) {
        if (errno != ERANGE)
            throw std::system_error(errno, std::generic_category(),
                                    "Cannot read the current folder");
        Buffer.resize(Buffer.size() * 2);
    }
    Buffer.resize(std::strlen(Buffer.c_str()));
    return Buffer;
}

} // namespace q7n::platform
