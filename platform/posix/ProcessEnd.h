#pragma once

#include <cstdint>
#include <optional>
#include <string>

// How a launched program ended, as the process that watched it saw it, kept in a small file that
// any process of the machine can read later. The watcher writes it between fork and _exit, so the
// writing uses async-signal-safe calls only, on paths made before the fork.
namespace q7n::platform {

struct TProcessEnd {
    std::int64_t Pid = 0;
    // 1 when the program exited with Status, 0 when the signal Status ended it.
    std::int32_t Exited = 0;
    std::int32_t Status = 0;
};

// Where one launch records its program's end: the record, and a name beside it that no other
// launch uses, written first and then moved over the record so that a reader never sees a part.
struct TProcessEndFile {
    std::string Path;
    std::string Temporary;

    static TProcessEndFile For(const std::string& Path);
};

// Async-signal-safe (open, write, close, rename); a failure leaves no record.
void WriteProcessEnd(const TProcessEndFile& File, const TProcessEnd& End) noexcept;

// The record at Path; nothing when there is none or it is not one of ours.
std::optional<TProcessEnd> ReadProcessEnd(const std::string& Path);

} // namespace q7n::platform
