#include "platform/posix/PosixProcess.h"

#include <cerrno>
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

// Runs in the grandchild between fork and exec: only async-signal-safe calls from here on.
[[noreturn]] void BecomeProgram(char* const* Argv, int Report) {
    int Null = ::open("/dev/null", O_RDWR);
    if (Null >= 0) {
        ::dup2(Null, STDIN_FILENO);
        ::dup2(Null, STDOUT_FILENO);
        ::dup2(Null, STDERR_FILENO);
        if (Null > STDERR_FILENO)
            ::close(Null);
    }
    if (::chdir("/") != 0) {
        // The root folder is always there; carry on in the inherited folder if it is not.
    }
    sigset_t None;
    sigemptyset(&None);
    ::sigprocmask(SIG_SETMASK, &None, nullptr);
    ::signal(SIGTERM, SIG_DFL);
    ::signal(SIGINT, SIG_DFL);
    ::signal(SIGPIPE, SIG_DFL);
    pid_t Self = ::getpid();
    WriteFull(Report, &Self, sizeof Self);
    ::execv(Argv[0], Argv);
    int Error = errno;
    WriteFull(Report, &Error, sizeof Error);
    ::_exit(127);
}

} // namespace

TLaunchResult LaunchDetached(const std::vector<std::string>& Arguments) {
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

    int Report[2];
    if (::pipe2(Report, O_CLOEXEC) != 0) {
        Result.Error = errno;
        return Result;
    }
    pid_t Middle = ::fork();
    if (Middle < 0) {
        Result.Error = errno;
        ::close(Report[0]);
        ::close(Report[1]);
        return Result;
    }
    if (Middle == 0) {
        // The middle process starts a new session and leaves at once, so that the program is
        // adopted by the init process and is never the caller's child or in its process group.
        ::close(Report[0]);
        ::setsid();
        pid_t Program = ::fork();
        if (Program == 0)
            BecomeProgram(Argv.data(), Report[1]);
        ::_exit(Program < 0 ? 1 : 0);
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
        Result.Error = EAGAIN; // the middle process could not fork
        return Result;
    }
    if (Failed) {
        Result.Error = ExecError ? ExecError : ENOEXEC;
        return Result;
    }
    Result.Process.Pid = Program;
    if (!ReadProcessStartTime(Program, Result.Process.StartTime)) {
        // The program has already ended; it did run, so the start was accepted, and no later
        // process with its id may pass for it.
        Result.Process.StartTime = EndedBeforeSeen;
    }
    return Result;
}

bool ReadProcessStartTime(pid_t Pid, std::int64_t& StartTime) {
    StartTime = 0;
    if (Pid <= 0)
        return false;
    std::ifstream Stat("/proc/" + std::to_string(Pid) + "/stat");
    if (!Stat) {
        // A host without /proc: the process id alone has to do.
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
    std::string State;
    Fields >> State;
    if (State == "Z" || State == "X")
        return false; // ended; only its exit status is left
    std::string Skipped;
    for (int Field = 4; Field < 22; ++Field)
        Fields >> Skipped;
    long long Ticks = 0;
    if (!(Fields >> Ticks))
        return false;
    StartTime = Ticks;
    return true;
}

bool IsRunning(const TProcessIdentity& Process) {
    if (Process.StartTime == EndedBeforeSeen)
        return false;
    std::int64_t StartTime = 0;
    if (!ReadProcessStartTime(Process.Pid, StartTime))
        return false;
    return Process.StartTime == 0 || StartTime == 0 || StartTime == Process.StartTime;
}

int RequestTermination(const TProcessIdentity& Process) {
    if (!IsRunning(Process))
        return ESRCH;
    return ::kill(Process.Pid, SIGTERM) == 0 ? 0 : errno;
}

} // namespace q7n::platform
