// q7nctl: the configurator's commands for scripts, one per call, with exit codes and JSON.
#include "cli/Q7nctl.h"
#include "platform/CommandLine.h"
#include "platform/CurrentDirectory.h"

#include <chrono>
#include <iostream>
#include <thread>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    // The captions and JSON are UTF-8.
    SetConsoleOutputCP(CP_UTF8);
#endif
    std::ios::sync_with_stdio(false);
    using namespace q7n;
    std::unique_ptr<platform::IServiceControlManager> ServiceManager =
        platform::CreateHostServiceControlManager();
    TSteadyClock Clock;
    cli::TCtlEnvironment Environment;
    if (TStatusOr<std::string> Folder = platform::CurrentDirectory(); Folder.Ok())
        Environment.Folder = std::move(*Folder);
    else
        Environment.FolderError = Folder.Status().Text();
    Environment.ServiceManager = ServiceManager.get();
    Environment.Registry = &platform::DefaultRegistry();
    std::unique_ptr<platform::INetworkState> Network = platform::CreateHostNetworkState();
    Environment.Network = Network.get();
    Environment.Clock = &Clock;
    Environment.Sleep = [](std::int64_t Milliseconds) {
        std::this_thread::sleep_for(std::chrono::milliseconds(Milliseconds));
    };
    std::vector<std::string> Arguments = platform::ProgramArguments(argc, argv);
    if (!Arguments.empty())
        Arguments.erase(Arguments.begin()); // the program's name
    return cli::RunQ7nctl(Arguments, Environment, std::cout, std::cerr);
}
