#include "platform/posix/PosixProcess.h"

#include "platform/posix/ProcessEnd.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace q7n::platform {

namespace {

// Reads exactly Size bytes unless the other end closes first; answers the bytes read.
std::size_t ReadFull(int Fd, void* Buffer, std::size_t Size) {
    std::size_t Done = 0;
    while (Done < Size) {
        ssize_t Count = ::read(Fd, static_cast<char*>(Buffer) + Done, Size - Done);
        if (Count < 0 && errno == EINTR)
            continue;
        if (Count <= 0)
            break;
        Done += static_cast<std::size_t>(Count);
    }
    return Done;
}

void WriteFull(int Fd, const void* Buffer, std::size_t Size) {
    std::size_t Done = 0;
    while (Done < Size) {
        ssize_t Count = ::write(Fd, static_cast<const char*>(Buffer) + Done, Size - Done);
        if (Count < 0 && errno == EINTR)
            continue;
        if (Count <= 0)
            return;
        Done += static_cast<std::size_t>(Count);
    }
}

// Closes the descriptors First to Last that are open; async-signal-safe. close_range does it in
// one call where the kernel has it.
void CloseDescriptors(int First, int Last) {
    if (First > Last ||
        ::close_range(static_cast<unsigned>(First), static_cast<unsigned>(Last), 0) == 0)
        return;
    for (int Fd = First; Fd <= Last; ++Fd)
        ::close(Fd);
}

// Runs in the program's process between fork and exec: only async-signal-safe calls from here on.
[[noreturn]] void BecomeProgram(char* const* Argv, int Report) {
    sigset_t None;
    sigemptyset(&None);
    ::sigprocmask(SIG_SETMASK, &None, nullptr);
    for (int Signal : {SIGTERM, SIGINT, SIGHUP, SIGPIPE})
        ::signal(Signal, SIG_DFL);
    pid_t Self = ::getpid();
    WriteFull(Report, &Self, sizeof Self);
    ::execv(Argv[0], Argv);
    int Error = errno;
    WriteFull(Report, &Error, sizeof Error);
    ::_exit(127);
}

// What the watcher needs, made before the first fork.
struct TWatch {
    char* const* Argv;
    int Report;          // the write end of the pipe that tells the caller the program's id
    int DescriptorLimit; // above the highest descriptor the caller may have open
    const TProcessEndFile* EndFile;
};

// Runs in the watcher, a child of the launch's middle process, between fork and _exit: only
// async-signal-safe calls. It starts the program as its own child, waits for its end, records it
// and leaves.
[[noreturn]] void WatchProgram(const TWatch& Watch) {
    // A caller without standard streams may have got the report pipe in their place.
    int Report = Watch.Report;
    if (Report <= STDERR_FILENO)
        Report = ::fcntl(Report, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    // Nothing of the caller's stays open here (its pipes, its database, its locks), nor reaches
    // the program: only the report pipe.
    int Null = ::open("/dev/null", O_RDWR);
    if (Null >= 0) {
        ::dup2(Null, STDIN_FILENO);
        ::dup2(Null, STDOUT_FILENO);
        ::dup2(Null, STDERR_FILENO);
    }
    CloseDescriptors(STDERR_FILENO + 1, Report - 1);
    CloseDescriptors(Report + 1, Watch.DescriptorLimit);
    if (::chdir("/") != 0) {
        // The root folder is always there; carry on in the inherited folder if it is not.
    }
    // Signals sent to the program's group leave the watcher to see the program's end; a caller
    // that ignores SIGCHLD would have the program's end taken away before the wait.
    for (int Signal : {SIGTERM, SIGINT, SIGHUP, SIGPIPE})
        ::signal(Signal, SIG_IGN);
    ::signal(SIGCHLD, SIG_DFL);
    pid_t Program = ::fork();
    if (Program == 0)
        BecomeProgram(Watch.Argv, Report);
    // The caller reads the report until the program's exec closes it: it must not wait for us.
    ::close(Report);
    if (Program < 0)
        ::_exit(1);
    // The ended program is left unreaped until its end is recorded, so that whoever sees its
    // process gone finds the record there.
    siginfo_t Info{};
    while (::waitid(P_PID, static_cast<id_t>(Program), &Info, WEXITED | WNOWAIT) != 0) {
        if (errno != EINTR)
            ::_exit(1);
    }
    if (Watch.EndFile)
        WriteProcessEnd(*Watch.EndFile,
                        {Program, Info.si_code == CLD_EXITED ? 1 : 0, Info.si_status});
    while (::waitpid(Program, nullptr, 0) < 0 && errno == EINTR) {
    }
    ::_exit(0);
}

// Above the highest descriptor that may be open; the watcher closes up to it where the kernel
// cannot close a range in one call.
int DescriptorLimit() {
    long Limit = ::sysconf(_SC_OPEN_MAX);
    return Limit > 0 && Limit < INT_MAX ? static_cast<int>(Limit) : 65536;
}

// The state field (R, S, Z, ...) and start time of a process from /proc, zombies included;
// false when there is no such process.
bool ReadProcessStat(pid_t Pid, char& State, std::int64_t& StartTime) {
    State = 0;
    StartTime = 0;
    if (Pid <= 0)
        return false;
    std::ifstream Stat("/proc/" + std::to_string(Pid) + "/stat");
    if (!Stat) {
        // A host without /proc: the process id alone has to do.
        State = 'R';
        return ::kill(Pid, 0) == 0 || errno == EPERM;
    }
    std::string Line;
    std::getline(Stat, Line);
    // The second field is the program name in parentheses and may hold blanks and parentheses;
    // the fields after the last ')' are plain: state is the 3rd, start time the 22nd.
    std::size_t NameEnd = Line.rfind(')');
    if (NameEnd == std::string::npos)
        return false;
    std::istringstream Fields(Line.substr(NameEnd + 1));
    std::string StateField;
    Fields >> StateField;
    std::string Skipped;
    for (int Field = 4; Field < 22; ++Field)
        Fields >> Skipped;
    long long Ticks = 0;
    if (StateField.empty() || !(Fields >> Ticks))
        return false;
    State = StateField[0];
    StartTime = Ticks;
    return true;
}

bool HasEnded(char State) {
    return State == 'Z' || State == 'X';
}

} // namespace

TLaunchResult LaunchDetached(const std::vector<std::string>& Arguments,
                             const std::string& EndRecord) {
    TLaunchResult Result;
    if (Arguments.empty() || Arguments[0].empty()) {
        Result.Error = ENOENT;
        return Result;
    }
    // Everything the children need is made before the fork.
    std::vector<std::string> Copies = Arguments;
    std::vector<char*> Argv;
    for (std::string& Argument : Copies)
        Argv.push_back(Argument.data());
    Argv.push_back(nullptr);
    const TProcessEndFile EndFile = TProcessEndFile::For(EndRecord);

    int Report[2];
    if (::pipe2(Report, O_CLOEXEC) != 0) {
        Result.Error = errno;
        return Result;
    }
    const TWatch Watch{Argv.data(), Report[1], DescriptorLimit(),
                       EndRecord.empty() ? nullptr : &EndFile};
    pid_t Middle = ::fork();
    if (Middle < 0) {
        Result.Error = errno;
        ::close(Report[0]);
        ::close(Report[1]);
        return Result;
    }
    if (Middle == 0) {
        // The middle process starts a new session and leaves at once, so that the watcher and
        // the program are adopted by the init process and are never the caller's children or in
        // its process group.
        ::close(Report[0]);
        ::setsid();
        pid_t Watcher = ::fork();
        if (Watcher == 0)
            WatchProgram(Watch);
        ::_exit(Watcher < 0 ? 1 : 0);
    }
    ::close(Report[1]);
    int Status = 0;
    while (::waitpid(Middle, &Status, 0) < 0 && errno == EINTR) {
    }
    pid_t Program = 0;
    int ExecError = 0;
    bool Started = ReadFull(Report[0], &Program, sizeof Program) == sizeof Program;
    bool Failed = ReadFull(Report[0], &ExecError, sizeof ExecError) == sizeof ExecError;
    ::close(Report[0]);
    if (!Started) {
        Result.Error = EAGAIN; // the middle process or the watcher could not fork
        return Result;
    }
    if (Failed) {
        Result.Error = ExecError ? ExecError : ENOEXEC;
        return Result;
    }
    Result.Process.Pid = Program;
    // The watcher keeps an ended program's process until its end is recorded, so its start
    // time can be read then too.
    char State = 0;
    if (!ReadProcessStat(Program, State, Result.Process.StartTime)) {
        // The program has already ended and gone; it did run, so the start was accepted, and no
        // later process with its id may pass for it.
        Result.Process.StartTime = EndedBeforeSeen;
    }
    return Result;
}

bool ReadProcessStartTime(pid_t Pid, std::int64_t& StartTime) {
    char State = 0;
    return ReadProcessStat(Pid, State, StartTime) && !HasEnded(State);
}

TProcessPhase PhaseOf(const TProcessIdentity& Process) {
    if (Process.StartTime == EndedBeforeSeen)
        return TProcessPhase::ppGone;
    char State = 0;
    std::int64_t StartTime = 0;
    if (!ReadProcessStat(Process.Pid, State, StartTime))
        return TProcessPhase::ppGone;
    if (Process.StartTime != 0 && StartTime != 0 && StartTime != Process.StartTime)
        return TProcessPhase::ppGone;
    return HasEnded(State) ? TProcessPhase::ppEnded : TProcessPhase::ppRunning;
}

bool IsRunning(const TProcessIdentity& Process) {
    return PhaseOf(Process) == TProcessPhase::ppRunning;
}

int RequestTermination(const TProcessIdentity& Process) {
    if (!IsRunning(Process))
        return ESRCH;
    return ::kill(Process.Pid, SIGTERM) == 0 ? 0 : errno;
}

} // namespace q7n::platform
