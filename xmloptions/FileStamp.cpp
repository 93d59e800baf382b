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

std::uint64_t WordAt(const char* Bytes) {
    std::uint64_t Word;
    std::memcpy(&Word, Bytes, 8);
    return Word;
}

// The step for the words of a lane: a bijection of the word for a given state and of the state for
// a given word, as Mix, in two instructions; Mix folds the lanes.
std::uint64_t Step(std::uint64_t State, std::uint64_t Word) {
    return (State + Word) * 0xBF58476D1CE4E5B9ull;
}

} // namespace

TFileStamp TFileStamp::OfContent(std::string_view Content) {
    // Four words a step, in four lanes that take every fourth word: a load reads megabytes, and
    // this halves the work per word. The lanes are folded into one state at the end, each fold a
    // bijection of its lane, so that a single differing word still changes the hash.
    std::uint64_t Lanes[4] = {0x9E3779B97F4A7C15ull ^ Content.size(), 0x94D049BB133111EBull,
                              0x2545F4914F6CDD1Dull, 0xD6E8FEB86659FD93ull};
    const char* Bytes = Content.data();
    std::size_t At = 0;
    for (; At + 32 <= Content.size(); At += 32) {
        Lanes[0] = Step(Lanes[0], WordAt(Bytes + At));
        Lanes[1] = Step(Lanes[1], WordAt(Bytes + At + 8));
        Lanes[2] = Step(Lanes[2], WordAt(Bytes + At + 16));
        Lanes[3] = Step(Lanes[3], WordAt(Bytes + At + 24));
    }
    std::uint64_t State = Mix(Lanes[0], 0);
    for (; At + 8 <= Content.size(); At += 8)
        State = Mix(State, WordAt(Bytes + At));
    std::uint64_t Last = 0;
    if (At < Content.size())
        std::memcpy(&Last, Bytes + At, Content.size() - At);
    State = Mix(State, Last);
    State = Mix(Mix(Mix(State, Lanes[1]), Lanes[2]), Lanes[3]);
    return TFileStamp{true, Content.size(), State};
}

std::optional<TFileStamp> TFileStamp::OfFile(const std::string& Path) {
    if (!platform::FileExists(Path))
        return Missing();
    try {
        return OfContent(platform::ReadFileBytesWhenFree(Path).View());
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace q7n
