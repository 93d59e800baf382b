#include "platform/CurrentDirectory.h"
#include "platform/ErrorBarrier.h"
#include "platform/SizedRead.h"

#include <cerrno>
#include <string>
#include <system_error>
#include <unistd.h>

namespace q7n::platform {

namespace {

// The Windows code that stands for the reason getcwd gave.
std::uint32_t CodeOfErrno(int Error) {
    switch (Error) {
    case ENOENT:
        return ErrorFileNotFound;
    case EACCES:
        return ErrorAccessDenied;
    case ENOMEM:
        return ErrorNotEnoughMemory;
    default:
        return ErrorGenFailure;
    }
}

} // namespace

TStatusOr<std::string> CurrentDirectory() {
    // getcwd says only that the buffer is too small: each attempt doubles it.
    int Reason = 0;
    std::vector<char> Buffer;
    std::uint32_t Error = ErrorBarrier([&] {
        return ReadSized(
            Buffer,
            [&](char* Data, std::size_t Capacity) -> TSizedAnswer {
                if (Capacity == 0)
                    return {ErrorInsufficientBuffer, 256};
                if (::getcwd(Data, Capacity) != nullptr)
                    return {ErrorSuccess, std::char_traits<char>::length(Data)};
                Reason = errno;
                if (Reason == ERANGE)
                    return {ErrorInsufficientBuffer, Capacity * 2};
                return {CodeOfErrno(Reason), 0};
            },
            24);
    });
    if (Error != ErrorSuccess) {
        std::string Why = Reason != 0 && Reason != ERANGE ? std::generic_category().message(Reason)
                                                          : SystemErrorText(Error);
        return TStatus(Error, "Cannot read the current folder: " + Why);
    }
    return std::string(Buffer.begin(), Buffer.end());
}

} // namespace q7n::platform
