// Prints the time of "q7nctl doctor" over a ports file of 256 mappings (or MAPPINGS) as the
// program runs it: the load, the file's checks, the service manager, the serial ports of the
// registry, the machine's TCP table with the owners of its listeners, and the output.
// A plain program, so that the Windows build has it too; on POSIX hosts it works on a machine
// database of its own.
//   q7n_bench_doctor [MAPPINGS] [RUNS]
#include "cli/Q7nctl.h"
#include "platform/NetworkState.h"
#include "platform/Registry.h"
#include "ports/Q7NDocument.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

int main(int Argc, char** Argv) {
    using namespace q7n;
    namespace fs = std::filesystem;
    const int Mappings = Argc > 1 ? std::max(1, std::atoi(Argv[1])) : 256;
    const int Runs = Argc > 2 ? std::max(1, std::atoi(Argv[2])) : 21;
    const fs::path Folder = fs::temp_directory_path() / "q7n-bench-doctor";
    fs::create_directories(Folder);
#ifndef _WIN32
    const std::string Database = (Folder / "machine.sqlite").string();
    setenv("Q7N_MACHINE_DB", Database.c_str(), 1);
    const char* NullDevice = "/dev/null";
#else
    const char* NullDevice = "NUL";
#endif
    const std::string Path = (Folder / "Q7NPorts.xml").string();
    {
        TQ7NDocument Document;
        for (int I = 0; I < Mappings; ++I) {
            TQ7NPort* Port = Document.Options()->Q7NPorts()->Add();
            Port->SetLocalPort(20000 + I);
            Port->SetCOMPort(1 + I % 256);
        }
        if (!Document.Save(Path)) {
            std::fprintf(stderr, "cannot write %s\n", Path.c_str());
            return 1;
        }
    }

    auto Services = platform::CreateHostServiceControlManager();
    auto Network = platform::CreateHostNetworkState();
    TSteadyClock Clock;
    cli::TCtlEnvironment Environment;
    Environment.Folder = Folder.string();
    Environment.ServiceManager = Services.get();
    Environment.Registry = &platform::DefaultRegistry();
    Environment.Network = Network.get();
    Environment.Clock = &Clock;

    const std::vector<std::string> Arguments = {"doctor", "--file", Path};
    std::vector<double> Times;
    int Code = 0;
    for (int Run = 0; Run < Runs; ++Run) {
        std::ofstream Out(NullDevice), Err(NullDevice);
        const auto Begin = std::chrono::steady_clock::now();
        Code = cli::RunQ7nctl(Arguments, Environment, Out, Err);
        Times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Begin)
                .count());
    }
    std::sort(Times.begin(), Times.end());
    std::printf("q7nctl doctor over %d mappings, %d runs: fastest %.1f ms, median %.1f ms "
                "(exit %d)\n",
                Mappings, Runs, Times.front(), Times[Times.size() / 2], Code);
    fs::remove_all(Folder);
    return 0;
}
