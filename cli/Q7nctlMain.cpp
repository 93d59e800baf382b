// q7nctl: the configurator's commands for scripts, one per call, with exit codes and JSON.
#include "Q7nctl.h"

#include <chrono>
#include <filesystem>
#include <iostream>
#include <thread>

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
    std::error_code Error;
    std::filesystem::path Folder = std::filesystem::current_path(Error);
    if (Error)
        Environment.FolderError = Error.message();
    else
        Environment.Folder = Folder.string();
    Environment.ServiceManager = ServiceManager.get();
    Environment.Registry = &platform::DefaultRegistry();
    Environment.Clock = &Clock;
    Environment.Sleep = [](std::int64_t Milliseconds) {
        std::this_thread::sleep_for(std::chrono::milliseconds(Milliseconds));
    };
    return cli::RunQ7nctl(std::vector<std::string>(argv + 1, argv + argc), Environment, std::cout,
                          std::cerr);
}
