#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace q7n {

// What a file held when it was read or written, to tell later whether another program changed
// it since: whether it existed, its size and a hash of its whole content. Two contents of one
// size that differ in a single 8-byte word never share a hash.
struct TFileStamp {
    bool Exists = false;
    std::uint64_t Size = 0;
    std::uint64_t Hash = 0;

    bool operator==(const TFileStamp&) const = default;

    static TFileStamp OfContent(std::string_view Content);
    // No file at all.
    static TFileStamp Missing() { return {}; }
    // The file at Path as it stands now; nothing when it exists but cannot be read.
    static std::optional<TFileStamp> OfFile(const std::string& Path);
};

} // namespace q7n
