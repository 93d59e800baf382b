// The service configurator without a window: commands come from standard input, one per line,
// and every change of the service's state is printed with its caption.
#include "app/ConfiguratorProgram.h"
#include "cli/LoopTimer.h"
#include "platform/RegistryExport.h"
#include "service/ServiceConfigurator.h"
#include "service/ServiceState.h"
#include "settings/SettingsExport.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <ctime>
#include <deque>
#include <iostream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>

namespace {

using namespace q7n;

const char* const Help = "Commands: install, uninstall, start, stop, restart, state, wait MS, "
                         "export-settings FILE.reg, help, quit (also at the end of the input).";

// Writes the configurator's settings key as a registry export file for 64-bit Windows.
void ExportSettings(const std::string& Path) {
    TStatusOr<std::string> File = ExportServiceOptions(platform::DefaultRegistry(), false);
    if (!File.Ok()) {
        std::cout << "The settings key cannot be read: " << File.Status().Text()
                  << "; nothing was written." << std::endl;
        return;
    }
    if (!platform::SaveRegistryExportFile(Path, *File))
        std::cout << "Cannot write " << Path << std::endl;
    else
        std::cout << "Settings written to " << Path << std::endl;
}

// Lines of standard input, read on a thread of their own so that the timer ticks meanwhile.
class TInputLines {
public:
    TInputLines() : FReader([this] { Read(); }) { FReader.detach(); }

    // The next line, waiting at most Milliseconds (forever when negative); false when none came.
    bool Next(std::int64_t Milliseconds, std::string& Line, bool& Ended) {
        std::unique_lock Lock(FMutex);
        auto Ready = [this] {
            return !FLines.empty() || FEnded;
        };
        if (Milliseconds < 0)
            FChanged.wait(Lock, Ready);
        else
            FChanged.wait_for(Lock, std::chrono::milliseconds(Milliseconds), Ready);
        Ended = FEnded && FLines.empty();
        if (FLines.empty())
            return false;
        Line = std::move(FLines.front());
        FLines.pop_front();
        return true;
    }

private:
    void Read() {
        for (std::string Line; std::getline(std::cin, Line);) {
            std::lock_guard Lock(FMutex);
            FLines.push_back(Line);
            FChanged.notify_one();
        }
        std::lock_guard Lock(FMutex);
        FEnded = true;
        FChanged.notify_one();
    }

    std::mutex FMutex;
    std::condition_variable FChanged;
    std::deque<std::string> FLines;
    bool FEnded = false;
    std::thread FReader;
};

std::string TimeOfDay() {
    auto Now = std::chrono::system_clock::now();
    std::time_t Seconds = std::chrono::system_clock::to_time_t(Now);
    auto Millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(Now.time_since_epoch()).count() %
        1000;
    std::tm Local{};
#ifdef _WIN32
    localtime_s(&Local, &Seconds);
#else
    localtime_r(&Seconds, &Local);
#endif
    char Text[32];
    std::snprintf(Text, sizeof Text, "%02d:%02d:%02d.%03d", Local.tm_hour, Local.tm_min,
                  Local.tm_sec, static_cast<int>(Millis));
    return Text;
}

void PrintState(TServiceState State) {
    std::cout << TimeOfDay() << "  " << ServiceName << ": " << ServiceStateCaption(State) << " ("
              << int(State) << ")" << std::endl;
}

// Prints the state whenever a poll finds it changed.
class TConsoleWindow final : public IServiceConfigDlgInterface {
public:
    void ServiceStateChanged(TServiceState State) override {
        ++FPolls;
        if (State == FShown)
            return;
        FShown = State;
        PrintState(State);
    }

    int Polls() const { return FPolls; }

private:
    int FShown = -1;
    int FPolls = 0;
};

int Run() {
    std::unique_ptr<platform::IServiceControlManager> Platform =
        platform::CreateHostServiceControlManager();
    TSteadyClock Clock;
    auto OwnedTimer = std::make_unique<cli::TLoopTimer>(Clock);
    cli::TLoopTimer& Timer = *OwnedTimer;
    TConsoleWindow Window;
    const std::unique_ptr<TServiceConfigurator> Owned =
        app::CreateServiceConfigurator(&Window, nullptr, *Platform, Clock, std::move(OwnedTimer));
    TServiceConfigurator& Configurator = *Owned;
    std::cout << "Service " << Configurator.ServiceName() << ", program "
              << Configurator.ServicePath() << "\n"
              << Help << std::endl;
    Configurator.Start();

    // Never freed: its thread may still wait on standard input when the program leaves.
    TInputLines& Input = *new TInputLines;
    std::int64_t PausedUntil = 0;
    int QuitAtPoll = -1; // leaving: once nothing is pending and two more polls have shown the state
    for (;;) {
        std::int64_t Wait = Timer.MillisecondsToNextTick();
        bool Paused = Clock.NowMilliseconds() < PausedUntil || QuitAtPoll >= 0;
        std::string Line;
        bool Ended = false;
        if (!Paused && Input.Next(Wait, Line, Ended)) {
            std::istringstream Words(Line);
            std::string Command;
            Words >> Command;
            if (Command == "install")
                Configurator.RequestInstall();
            else if (Command == "uninstall")
                Configurator.RequestUninstall();
            else if (Command == "start")
                Configurator.RequestStart();
            else if (Command == "stop")
                Configurator.RequestStop();
            else if (Command == "restart")
                Configurator.RequestRestart();
            else if (Command == "state")
                PrintState(Configurator.State());
            else if (Command == "wait") {
                std::int64_t Milliseconds = 0;
                if (Words >> Milliseconds && Milliseconds >= 0)
                    PausedUntil = Clock.NowMilliseconds() + Milliseconds;
                else
                    std::cout << "wait takes a number of milliseconds" << std::endl;
            } else if (Command == "export-settings") {
                std::string Path;
                if (Words >> Path)
                    ExportSettings(Path);
                else
                    std::cout << "export-settings takes the name of the file to write" << std::endl;
            } else if (Command == "quit")
                QuitAtPoll = Window.Polls() + 2;
            else if (Command == "help")
                std::cout << Help << std::endl;
            else if (!Command.empty())
                std::cout << "Unknown command \"" << Command << "\". " << Help << std::endl;
        } else if (Ended && QuitAtPoll < 0) {
            QuitAtPoll = Window.Polls() + 2;
        } else if (Paused && Wait > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(Wait));
        }
        Timer.FireIfDue();
        if (QuitAtPoll >= 0 && Configurator.Busy())
            QuitAtPoll = Window.Polls() + 2;
        if (QuitAtPoll >= 0 && Window.Polls() >= QuitAtPoll)
            break;
    }
    std::cout << "Bye." << std::endl;
    return 0;
}

} // namespace

int main() {
    int Code = 1;
    try {
        Code = Run();
    } catch (const std::exception& Error) {
        // Nothing to serve without the service's paths or the service manager.
        std::cerr << "q7n_service_console: " << Error.what() << std::endl;
    }
    // The input thread may still wait on standard input; leave without waiting for it.
    std::cout.flush();
    std::_Exit(Code);
}
