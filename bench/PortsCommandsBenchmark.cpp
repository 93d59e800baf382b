// Prints the time of q7nctl's "ports check", "ports list --json" and "ports remove" of every other
// row over a ports file of 100,000 mappings, each run as the program runs it (load, work, the
// whole output, the save), beside a plain load of the same file through the port document: the
// part of each command that is not the load.
// A plain program, so that the Windows build has it too.
//   q7n_bench_ports_commands [MAPPINGS] [RUNS]
#include "cli/Q7nctl.h"
#include "ports/PortConflicts.h"
#include "ports/Q7NDocument.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace q7n;
using Clock = std::chrono::steady_clock;

// Mappings as a big installation has them, with some that conflict: every 1,000th shares its
// local port with the one before, and COM ports repeat after 256.
void WriteFile(const std::string& Path, int Mappings) {
    TQ7NDocument Document;
    TQ7NPorts& Ports = *Document.Options()->Q7NPorts();
    for (int I = 0; I < Mappings; ++I) {
        TQ7NPort* Port = Ports.Add();
        Port->SetIP("10." + std::to_string(I / 65536 % 256) + "." + std::to_string(I / 256 % 256) +
                    "." + std::to_string(I % 256));
        Port->SetRemoutePort(1024 + I % 60000);
        Port->SetLocalPort(I % 1000 == 999 ? I : 1 + I);
        Port->SetCOMPort(1 + I % 256);
        Port->SetCpRate(I % 2 ? 115200 : 9600);
    }
    if (const TXMLSaveResult& Saved = Document.Save(Path); !Saved)
        throw std::runtime_error("cannot write " + Path + ": " + Saved.Reason);
}

struct TTimes {
    double Fastest;
    double Median;
};

// The fastest and the median of Runs runs of Action, in milliseconds: on a busy machine the
// fastest shows the cost, the median what a user waits. Prepare, untimed, runs before each.
TTimes Measure(int Runs, const std::function<void()>& Action,
               const std::function<void()>& Prepare = {}) {
    std::vector<double> Times;
    for (int Run = 0; Run < Runs; ++Run) {
        if (Prepare)
            Prepare();
        auto Begin = Clock::now();
        Action();
        Times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - Begin).count());
    }
    std::sort(Times.begin(), Times.end());
    return {Times.front(), Times[Times.size() / 2]};
}

void Print(const std::string& What, const TTimes& Times, const std::string& Remark) {
    std::printf("%-24s fastest %7.1f ms  median %7.1f ms  %s\n", What.c_str(), Times.Fastest,
                Times.Median, Remark.c_str());
}

} // namespace

int main(int Argc, char** Argv) {
    const int Mappings = Argc > 1 ? std::max(1, std::atoi(Argv[1])) : 100000;
    const int Runs = Argc > 2 ? std::max(1, std::atoi(Argv[2])) : 7;
    const std::string Path =
        (std::filesystem::temp_directory_path() / "q7n-bench-ports-commands.xml").string();
    WriteFile(Path, Mappings);

    cli::TCtlEnvironment Environment; // the ports commands need no service manager
    std::printf("%d mappings, %d runs each\n", Mappings, Runs);
    TTimes Load = Measure(Runs, [&] {
        TQ7NDocument Document;
        Document.Load(Path);
    });
    Print("plain load", Load, "");
    TQ7NDocument Loaded;
    Loaded.Load(Path);
    std::size_t Findings = 0;
    TTimes Check = Measure(
        Runs, [&] { Findings = CheckPorts(*Loaded.Options()->Q7NPorts()).Findings().size(); });
    Print("check of a loaded list", Check, "(" + std::to_string(Findings) + " findings)");

    // The output goes where a script sends what it does not read.
#ifdef _WIN32
    const char* NullDevice = "NUL";
#else
    const char* NullDevice = "/dev/null";
#endif
    for (std::vector<std::string> Arguments :
         {std::vector<std::string>{"ports", "check", "--file", Path},
          std::vector<std::string>{"ports", "list", "--file", Path, "--json"}}) {
        int Code = 0;
        TTimes Times = Measure(Runs, [&] {
            std::ofstream Out(NullDevice), Err(NullDevice);
            Code = cli::RunQ7nctl(Arguments, Environment, Out, Err);
        });
        std::string What = "ports " + Arguments[1] + (Arguments.size() > 4 ? " --json" : "");
        char Remark[96];
        std::snprintf(Remark, sizeof Remark, "(%.1f ms beyond the fastest load; exit %d)",
                      Times.Fastest - Load.Fastest, Code);
        Print(What, Times, Remark);
    }

    // Each run removes from a fresh copy of the file.
    const std::string Copy = Path + ".remove.xml";
    std::vector<std::string> Remove = {"ports", "remove", "--file", Copy};
    for (int Row = 1; Row <= Mappings; Row += 2)
        Remove.push_back(std::to_string(Row));
    int Code = 0;
    TTimes Times = Measure(
        Runs,
        [&] {
            std::ofstream Out(NullDevice), Err(NullDevice);
            Code = cli::RunQ7nctl(Remove, Environment, Out, Err);
        },
        [&] {
            std::filesystem::copy_file(Path, Copy,
                                       std::filesystem::copy_options::overwrite_existing);
        });
    char Remark[96];
    std::snprintf(Remark, sizeof Remark, "(every other row, %zu; exit %d)", Remove.size() - 4,
                  Code);
    Print("ports remove", Times, Remark);
    std::filesystem::remove(Copy);
    std::filesystem::remove(Path);
    return 0;
}
