// Prints what the configurator's periodic work costs on this host's service manager: one poll
// (open the service, query its state, close it) of a running service and of one that is not
// registered, and one timer tick with nothing to do. A plain program, so that the Windows build
// runs it too (under Wine here).
#include "platform/testsupport/ServiceControlTestSupport.h"
#include "service/ScmManager.h"
#include "service/ServiceConfigurator.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using namespace q7n;
using Clock = std::chrono::steady_clock;

// A clock that stands still, so that no poll falls due during the idle ticks.
class TStillClock final : public IMonotonicClock {
public:
    std::int64_t NowMilliseconds() override { return 1000; }
};

// A timer nobody fires but the benchmark.
class TIdleTimer final : public ITimer {
public:
    void SetInterval(int) override {}
    void SetHandler(std::function<void()>) override {}
    void SetEnabled(bool Enabled) override { FEnabled = Enabled; }
    bool Enabled() const override { return FEnabled; }

private:
    bool FEnabled = false;
};

void PrintPolls(const char* What, TScmManager& Scm, const std::string& Name, int Count) {
    std::vector<double> Micros;
    Micros.reserve(Count);
    for (int Index = 0; Index < Count; ++Index) {
        TServiceState State = 0;
        auto Begin = Clock::now();
        static_cast<void>(Scm.GetServiceState(Name, State)); // the absent service answers false
        Micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - Begin).count());
    }
    std::sort(Micros.begin(), Micros.end());
    double Sum = 0;
    for (double Value : Micros)
        Sum += Value;
    std::printf("%-34s mean %8.1f us  median %8.1f us  p99 %8.1f us  (%d polls)\n", What,
                Sum / Count, Micros[Count / 2], Micros[Count * 99 / 100], Count);
}

} // namespace

int main(int Argc, char** Argv) {
    int Polls = Argc > 1 ? std::atoi(Argv[1]) : 2000;
    if (Polls < 1)
        Polls = 1;
    testing::TTestServiceManager Platform;
    TScmManager Scm(nullptr, *Platform);
    if (!Scm.Open()) {
        std::fprintf(stderr, "cannot open the service manager with full access\n");
        return 1;
    }
    std::string Name = testing::UniqueServiceName();
    std::string Ready = Platform.Folder().File("ready.txt");
    TServiceState State = 0;
    bool Running = Scm.InstallService(Name, testing::FixtureServicePath()) &&
                   Scm.StartService(Name) && testing::WaitFor([&] {
                       return Scm.GetServiceState(Name, State) && State == platform::ServiceRunning;
                   });
    if (!Running) {
        std::fprintf(stderr, "the fixture service did not reach running\n");
        static_cast<void>(Scm.UninstallService(Name));
        return 1;
    }
    PrintPolls("poll of a running service", Scm, Name, Polls);
    PrintPolls("poll of a service not registered", Scm, Name + "Absent", Polls);
    static_cast<void>(Scm.UninstallService(Name));

    TStillClock Still;
    TServiceConfigurator Configurator(Name, TServiceFiles{}, nullptr, nullptr, *Platform, Still,
                                      std::make_unique<TIdleTimer>());
    Configurator.Start();
    const int Ticks = 1000000;
    auto Begin = Clock::now();
    for (int Index = 0; Index < Ticks; ++Index)
        Configurator.TimerFired();
    double Nanos = std::chrono::duration<double, std::nano>(Clock::now() - Begin).count();
    std::printf("%-34s mean %8.1f ns  (%d ticks)\n", "tick with nothing to do", Nanos / Ticks,
                Ticks);
    return 0;
}
