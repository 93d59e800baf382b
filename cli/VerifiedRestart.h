#pragma once

#include "cli/CtlEnvironment.h"
#include "ports/MachineFinding.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace q7n::cli {

// Whether the service runs now; false when it is not installed or cannot be asked.
bool ServiceIsRunning(const TCtlEnvironment& Environment);

struct TVerification {
    bool Passed = false;
    // What the doctor saw last: every finding, those of the rows that were not judged included.
    std::vector<TMachineFinding> Findings;
    // Those of them that failed it.
    std::vector<TMachineFinding> Failing;
    // Why the restart itself or the service failed, when it did; empty otherwise.
    std::string Failure;
    // From the end of the restart to the verdict.
    std::int64_t Milliseconds = 0;
};

// Restarts the service as 'q7nctl restart --wait Seconds' does, then asks the doctor, every
// 150 ms for at most Seconds, until the service runs and its own process listens on the local
// port of each of JudgedRows of Ports (rows from 1). notListening and localPortTaken of those
// rows and stoppedWithError fail it; what the other rows show is reported only.
TVerification RestartAndVerify(const TCtlEnvironment& Environment, const TQ7NPorts& Ports,
                               const std::set<int>& JudgedRows, std::int32_t Seconds);

// Restarts the service as 'q7nctl restart --wait Seconds' does; the failure's text, or empty.
std::string RestartService(const TCtlEnvironment& Environment, std::int32_t Seconds);

} // namespace q7n::cli
