#pragma once

#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

// Processes of the POSIX host as the service manager stand-in needs them: launched detached from
// the caller, watched to their end, and recognised later by their process id together with their
// start time, so that a process id that the kernel has given to another process since is not
// taken for the service.
namespace q7n::platform {

// The start time of a process that ended before its start time could be read.
inline constexpr std::int64_t EndedBeforeSeen = -1;

struct TProcessIdentity {
    pid_t Pid = 0;
    // In clock ticks since boot; 0 when the host does not tell, EndedBeforeSeen.
    std::int64_t StartTime = 0;
};

struct TLaunchResult {
    int Error = 0; // errno of the failed launch (ENOENT for a missing program), 0 on success
    TProcessIdentity Process;
};

// Runs Arguments[0] (a path, not searched for) with the arguments that follow, with no shell, in
// a session of its own, with standard input and output on /dev/null, the root folder as its
// current folder and none of the caller's other descriptors. It is not a child of the caller, so
// the caller never has to reap it: a small watcher process, left by the launch, is its parent.
// With EndRecord, the watcher records there how the program ended (platform/posix/ProcessEnd.h)
// before it lets the ended process go, and then leaves too. Answers once the program runs or has
// failed to start.
TLaunchResult LaunchDetached(const std::vector<std::string>& Arguments,
                             const std::string& EndRecord = {});

// The start time of a live process, or nothing (false) when there is no such process or it has
// ended and waits to be reaped.
bool ReadProcessStartTime(pid_t Pid, std::int64_t& StartTime);

enum class TProcessPhase {
    ppRunning,
    ppEnded, // it has ended, and its parent has not yet taken its exit status
    ppGone,  // no such process, or its id belongs to another process now
};

TProcessPhase PhaseOf(const TProcessIdentity& Process);

// The process runs and is the one that was launched.
bool IsRunning(const TProcessIdentity& Process);

// Sends SIGTERM; answers errno (ESRCH when it is gone, EPERM without the right), 0 on success.
int RequestTermination(const TProcessIdentity& Process);

} // namespace q7n::platform
