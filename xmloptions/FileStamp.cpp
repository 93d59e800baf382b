#include "xmloptions/FileStamp.h"

#include "platform/FileSystem.h"
#include "platform/HeldFileRetry.h"

#include <cstring>
#include <stdexcept>

namespace q7n {

namespace {

// One step over a word: for a given state a bijection of the word, for a given word a bijection
// of the state, so that a single differing word always leaves a different state.
std::uint64_t Mix(std::uint64_t State, std::uint64_t Word) {
    State = (State ^ Word) * 0xBF58476D1CE4E5B9ull;
    return State ^ (State >> 31);
}

} // namespace

TFileStamp TFileStamp::OfContent(std::string_view Content) {
    std::uint64_t State = 0x9E3779B97F4A7C15ull ^ Content.size();
    std::size_t At = 0;
    for (; At + 8 <= Content.size(); At += 8) {
        std::uint64_t Word;
        std::memcpy(&Word, Content.data() + At, 8);
        State = Mix(State, Word);
    }
    std::uint64_t Last = 0;
    if (At < Content.size())
        std::memcpy(&Last, Content.data() + At, Content.size() - At);
    State = Mix(State, Last);
    return TFileStamp{true, Content.size(), State};
}

std::optional<TFileStamp> TFileStamp::OfFile(const std::string& Path) {
    if (!platform::FileExists(Path))
        return Missing();
    try {
        return OfContent(platform::ReadWholeFileWhenFree(Path));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace q7n
