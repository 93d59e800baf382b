// Times "q7nctl ports apply" that finds the ports file holding its mappings already (the run of
// configuration management on a machine that is as it should be), over 256 mappings, from the
// JSON of "ports list --json" and from a ports file: the whole command as the program runs it
// (the lock, the loads, the comparison, the check of the result, the output). Goal: under 20 ms.
//
// Files are written to a new folder below the system's temporary folder. Run: scripts/bench.sh
#include "cli/Q7nctl.h"
#include "ports/Q7NDocument.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>

using namespace q7n;

namespace {

constexpr int Mappings = 256;

struct TFiles {
    std::filesystem::path Folder;
    std::string Ports, Json, Xml;
};

const TFiles& Files() {
    static const TFiles Made = [] {
        TFiles Files;
        Files.Folder = std::filesystem::temp_directory_path() /
                       ("q7n-bench-apply-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(Files.Folder);
        Files.Ports = (Files.Folder / "Q7NPorts.xml").string();
        Files.Json = (Files.Folder / "desired.json").string();
        Files.Xml = (Files.Folder / "desired.xml").string();
        TQ7NDocument Document;
        TQ7NPorts& Ports = *Document.Options()->Q7NPorts();
        for (int I = 0; I < Mappings; ++I) {
            TQ7NPort* Port = Ports.Add();
            Port->SetIP("10.0.0." + std::to_string(I));
            Port->SetRemoutePort(4001);
            Port->SetLocalPort(4001 + I);
            Port->SetCOMPort(1 + I);
            Port->SetCpRate(115200);
        }
        if (!Document.Save(Files.Ports) || !Document.Save(Files.Xml))
            throw std::runtime_error("cannot write the ports files");
        cli::TCtlEnvironment Environment;
        std::ostringstream Out, Err;
        cli::RunQ7nctl({"ports", "list", "--json", "--file", Files.Ports}, Environment, Out, Err);
        std::ofstream(Files.Json) << Out.str();
        return Files;
    }();
    return Made;
}

void UnchangedApply(benchmark::State& State, const std::string& Desired) {
    cli::TCtlEnvironment Environment; // nothing changes, so the service is not asked
    const auto Written = std::filesystem::last_write_time(Files().Ports);
    for (auto _ : State) {
        std::ostringstream Out, Err;
        if (cli::RunQ7nctl({"ports", "apply", Desired, "--json", "--file", Files().Ports},
                           Environment, Out, Err) != 0 ||
            Out.str().find("\"changed\":false") == std::string::npos)
            State.SkipWithError(("not unchanged: " + Out.str() + Err.str()).c_str());
    }
    if (std::filesystem::last_write_time(Files().Ports) != Written)
        State.SkipWithError("an unchanged apply wrote the file");
    State.counters["mappings"] = Mappings;
}

void BM_UnchangedApplyFromJson(benchmark::State& State) {
    UnchangedApply(State, Files().Json);
}
void BM_UnchangedApplyFromPortsFile(benchmark::State& State) {
    UnchangedApply(State, Files().Xml);
}

BENCHMARK(BM_UnchangedApplyFromJson)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnchangedApplyFromPortsFile)->Unit(benchmark::kMillisecond);

} // namespace

int main(int Argc, char** Argv) {
    benchmark::Initialize(&Argc, Argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(Files().Folder);
    return 0;
}
