#pragma once

#include "platform/FileSystem.h"

#include <algorithm>
#include <chrono>
#include <system_error>
#include <thread>

namespace q7n::platform {

// Whether Error says that another program holds the file open in a way that forbids the
// operation for now: on Windows a sharing or lock violation, or an access denied (which a file
// held by a scanner or a backup agent, or one still being deleted, also gives). Never on POSIX,
// where a file that is open can be renamed and removed.
bool IsHeldByAnotherProgram(const std::error_code& Error);

// How long RetryWhileHeld goes on: scanners and backup agents let go within moments.
inline constexpr std::chrono::milliseconds HeldFileRetryBudget{2000};

// Runs Step and answers what it answers. While it raises a std::system_error that
// IsHeldByAnotherProgram, runs it again after growing pauses, for about HeldFileRetryBudget in
// all; then the last error stands, with the system's reason in its text.
template <class TStep>
decltype(auto) RetryWhileHeld(TStep&& Step,
                              std::chrono::milliseconds Budget = HeldFileRetryBudget) {
    using namespace std::chrono;
    const auto Deadline = steady_clock::now() + Budget;
    milliseconds Pause{10};
    for (;;) {
        try {
            return Step();
        } catch (const std::system_error& Error) {
            const auto Now = steady_clock::now();
            if (!IsHeldByAnotherProgram(Error.code()) || Now >= Deadline)
                throw;
            std::this_thread::sleep_for(std::min<steady_clock::duration>(Pause, Deadline - Now));
            Pause = std::min(Pause * 2, milliseconds{250});
        }
    }
}

// The whole content of the file at Path, waiting a moment for another program that holds it.
inline std::string ReadWholeFileWhenFree(const std::string& Path) {
    return RetryWhileHeld([&] { return ReadWholeFile(Path); });
}
inline TFileBytes ReadFileBytesWhenFree(const std::string& Path) {
    return RetryWhileHeld([&] { return ReadFileBytes(Path); });
}

} // namespace q7n::platform
