#pragma once

namespace q7n::cli {

// What q7nctl answers, one code per kind of outcome, so that scripts can act on it.
enum TExitCode {
    ecDone = 0,
    ecFailed = 1,       // any other failure
    ecBadArguments = 2, // the command line is wrong
    ecNotInstalled = 3, // the service is not registered
    ecAccessDenied = 4, // the service manager or the registry refused: not an administrator
    ecTimedOut = 5,     // --wait ran out before the service reached the state
    ecPortsFile = 6,    // the ports file cannot be read or its mappings fail their checks
    ecWouldChange = 7,  // --check: the command would change something
    ecRolledBack = 8,   // 'ports apply --restart': the service did not take them; put back
};

} // namespace q7n::cli
