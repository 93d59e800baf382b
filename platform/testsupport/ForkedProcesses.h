#pragma once

#include <functional>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace q7n::testing {

// Runs Body(Index) for Index 0 to Count - 1, each in a forked process of its own, all at once;
// each ends with what its Body answers (1 when it raises). Answers their exit codes in order, -1
// for one that could not start or did not exit.
inline std::vector<int> RunInForkedProcesses(int Count, const std::function<int(int Index)>& Body) {
    std::vector<pid_t> Children;
    for (int Index = 0; Index < Count; ++Index) {
        const pid_t Child = ::fork();
        if (Child == 0) {
            int Code = 1;
            try {
                Code = Body(Index);
            } catch (...) {
            }
            ::_exit(Code);
        }
        Children.push_back(Child);
    }
    std::vector<int> Codes;
    for (pid_t Child : Children) {
        int Status = -1;
        const bool Exited = Child > 0 && ::waitpid(Child, &Status, 0) == Child && WIFEXITED(Status);
        Codes.push_back(Exited ? WEXITSTATUS(Status) : -1);
    }
    return Codes;
}

} // namespace q7n::testing
