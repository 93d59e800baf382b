#pragma once

#include "platform/testsupport/HostProgramPath.h"

#include <cstdint>
#include <stdexcept>
#include <string>

#ifdef _WIN32
#include "platform/win32/Win32Text.h"

#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace q7n::testing {

// The holder fixture (q7n_file_holder) in a process of its own, which holds Path as Mode says
// ("lock" or "open"; "listen" with a port as Path) from construction, once it said so, until it
// ends by itself after Ms (never when Ms is negative) or is killed. The object kills it when it
// goes.
class TFileHolderProcess {
public:
    TFileHolderProcess(const std::string& Mode, const std::string& Path, int Ms) {
        const std::string Program = Q7N_FILE_HOLDER;
#ifdef _WIN32
        SECURITY_ATTRIBUTES Inherit{sizeof Inherit, nullptr, TRUE};
        HANDLE Read = nullptr, Write = nullptr;
        if (!CreatePipe(&Read, &Write, &Inherit, 0))
            throw std::runtime_error("CreatePipe failed");
        SetHandleInformation(Read, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW Startup{};
        Startup.cb = sizeof Startup;
        Startup.dwFlags = STARTF_USESTDHANDLES;
        Startup.hStdOutput = Write;
        const std::wstring Host = platform::Utf8ToWide(HostProgramPath(Program));
        std::wstring CommandLine = L"\"" + Host + L"\" " + platform::Utf8ToWide(Mode) + L" \"" +
                                   platform::Utf8ToWide(Path) + L"\" " + std::to_wstring(Ms);
        const BOOL Started = CreateProcessW(nullptr, CommandLine.data(), nullptr, nullptr, TRUE, 0,
                                            nullptr, nullptr, &Startup, &FProcess);
        CloseHandle(Write);
        if (!Started) {
            CloseHandle(Read);
            throw std::runtime_error("cannot start " + Program);
        }
        const std::string Said = ReadLine([Read](char& Character) {
            DWORD Got = 0;
            return ReadFile(Read, &Character, 1, &Got, nullptr) && Got == 1;
        });
        CloseHandle(Read);
#else
        int Pipe[2];
        if (::pipe(Pipe) != 0)
            throw std::runtime_error("pipe failed");
        FProcess = ::fork();
        if (FProcess == 0) {
            ::dup2(Pipe[1], STDOUT_FILENO);
            ::close(Pipe[0]);
            ::close(Pipe[1]);
            const std::string Time = std::to_string(Ms);
            ::execl(Program.c_str(), Program.c_str(), Mode.c_str(), Path.c_str(), Time.c_str(),
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(Pipe[1]);
        const std::string Said = ReadLine([&Pipe](char& Character) {
            ssize_t Got = 0;
            while ((Got = ::read(Pipe[0], &Character, 1)) < 0 && errno == EINTR) {
            }
            return Got == 1;
        });
        ::close(Pipe[0]);
#endif
        // "held", "held PORT" when it listens, or nothing when it ended first.
        if (Said.rfind("held", 0) != 0)
            throw std::runtime_error("the holder did not take " + Path);
        if (Said.size() > 5)
            FPort = std::stoi(Said.substr(5));
    }
    TFileHolderProcess(const TFileHolderProcess&) = delete;
    TFileHolderProcess& operator=(const TFileHolderProcess&) = delete;
    ~TFileHolderProcess() {
        Kill();
    }

    // The port it listens on; 0 unless it listens.
    int Port() const {
        return FPort;
    }

    std::uint32_t ProcessId() const {
#ifdef _WIN32
        return FProcess.dwProcessId;
#else
        return std::uint32_t(FProcess);
#endif
    }

    // Ends it at once, as a crash would, and waits until it is gone.
    void Kill() {
#ifdef _WIN32
        if (!FProcess.hProcess)
            return;
        TerminateProcess(FProcess.hProcess, 9);
        WaitForSingleObject(FProcess.hProcess, 10000);
        CloseHandle(FProcess.hProcess);
        CloseHandle(FProcess.hThread);
        FProcess = {};
#else
        if (FProcess <= 0)
            return;
        ::kill(FProcess, SIGKILL);
        ::waitpid(FProcess, nullptr, 0);
        FProcess = 0;
#endif
    }

private:
    // The holder's first line, without its end; the pipe ends with the holder, so this ends too.
    template <class TReadOne> static std::string ReadLine(TReadOne ReadOne) {
        std::string Line;
        char Character = 0;
        while (Line.size() < 32 && ReadOne(Character) && Character != '\n')
            Line += Character;
        if (!Line.empty() && Line.back() == '\r')
            Line.pop_back();
        return Line;
    }

    int FPort = 0;
#ifdef _WIN32
    PROCESS_INFORMATION FProcess{};
#else
    pid_t FProcess = 0;
#endif
};

} // namespace q7n::testing
