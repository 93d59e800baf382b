#include "cli/VerifiedRestart.h"

#include "cli/CommandError.h"
#include "cli/ServiceCommands.h"
#include "service/MachineDoctor.h"
#include "service/ScmManager.h"
#include "service/ServicePaths.h"

#include <algorithm>
#include <iterator>
#include <sstream>

namespace q7n::cli {

namespace {

constexpr std::int64_t PollMilliseconds = 150;

bool Judged(const TMachineFinding& Finding, const std::set<int>& JudgedRows) {
    if (Finding.Kind == mfStoppedWithError)
        return true;
    return (Finding.Kind == mfNotListening || Finding.Kind == mfLocalPortTaken) &&
           JudgedRows.count(Finding.Row) != 0;
}

} // namespace

bool ServiceIsRunning(const TCtlEnvironment& Environment) {
    if (!Environment.ServiceManager)
        return false;
    TScmManager Scm(nullptr, *Environment.ServiceManager);
    TServiceState State = 0;
    return Scm.Open() && Scm.GetServiceState(ServiceName, State) &&
           State == platform::ServiceRunning;
}

std::string RestartService(const TCtlEnvironment& Environment, std::int32_t Seconds) {
    std::ostringstream Said;
    try {
        RunServiceCommand("restart", {"--wait", std::to_string(Seconds)}, Environment, Said, Said);
    } catch (const ECommandError& Error) {
        return Error.what();
    }
    return {};
}

TVerification RestartAndVerify(const TCtlEnvironment& Environment, const TQ7NPorts& Ports,
                               const std::set<int>& JudgedRows, std::int32_t Seconds) {
    TVerification Result;
    Result.Failure = RestartService(Environment, Seconds);
    if (!Result.Failure.empty())
        return Result;
    if (!Environment.Registry || !Environment.Network)
        throw ECommandError(ecFailed, "the doctor cannot look at this machine");
    TMachineDoctor Doctor(ServiceName, ServiceExecutablePath(Environment.RequireFolder()),
                          *Environment.ServiceManager, *Environment.Registry, *Environment.Network);
    IMonotonicClock& Clock = *Environment.Clock;
    const std::int64_t Start = Clock.NowMilliseconds();
    const std::int64_t Deadline = Start + std::int64_t(Seconds) * 1000;
    for (;;) {
        const bool Running = ServiceIsRunning(Environment);
        Result.Findings = Doctor.Examine(Ports).Findings;
        Result.Failing.clear();
        std::copy_if(Result.Findings.begin(), Result.Findings.end(),
                     std::back_inserter(Result.Failing),
                     [&](const TMachineFinding& Finding) { return Judged(Finding, JudgedRows); });
        Result.Passed = Running && Result.Failing.empty();
        const std::int64_t Left = Deadline - Clock.NowMilliseconds();
        if (Result.Passed || Left <= 0) {
            if (!Running)
                Result.Failure = std::string(ServiceName) + " is not running";
            Result.Milliseconds = Clock.NowMilliseconds() - Start;
            return Result;
        }
        Environment.Sleep(std::min(Left, PollMilliseconds));
    }
}

} // namespace q7n::cli
