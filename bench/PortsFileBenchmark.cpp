// Loads and saves ports files of 1,000, 10,000 and 100,000 mappings through the port document,
// and, on the same files, pugixml's own parse-and-walk and build-and-save: the floor that the
// document is built on. Each load also reports its peak heap use per mapping.
//
// Files are written to $Q7N_BENCH_DIR (default /tmp). Run: scripts/bench.sh
#include "ports/Q7NDocument.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <malloc.h>
#include <new>
#include <pugixml.hpp>
#include <string>

using namespace q7n;

namespace {

// Heap accounting for every allocation of the process, pugixml's included.
std::size_t GCurrentBytes = 0;
std::size_t GPeakBytes = 0;

void* CountedAllocate(std::size_t Size) {
    void* Block = std::malloc(Size ? Size : 1);
    if (Block) {
        GCurrentBytes += malloc_usable_size(Block);
        if (GCurrentBytes > GPeakBytes)
            GPeakBytes = GCurrentBytes;
    }
    return Block;
}

void CountedFree(void* Block) {
    if (Block) {
        GCurrentBytes -= malloc_usable_size(Block);
        std::free(Block);
    }
}

std::string BenchFolder() {
    const char* Folder = std::getenv("Q7N_BENCH_DIR");
    return Folder && *Folder ? Folder : "/tmp";
}

std::string FileFor(int Mappings) {
    return BenchFolder() + "/q7n-bench-" + std::to_string(Mappings) + ".xml";
}

void FillPorts(TQ7NPorts& Ports, int Mappings) {
    for (int I = 0; I < Mappings; ++I) {
        TQ7NPort* Port = Ports.Add();
        Port->SetIP("10." + std::to_string(I / 65536 % 256) + "." + std::to_string(I / 256 % 256) +
                    "." + std::to_string(I % 256));
        Port->SetRemoutePort(1024 + I % 60000);
        Port->SetLocalPort(2048 + I % 60000);
        Port->SetCOMPort(1 + I % 256);
        Port->SetCpRate(I % 2 ? 115200 : 9600);
    }
}

// Writes the file of that size once per run.
const std::string& EnsureFile(int Mappings) {
    static std::string Paths[3];
    std::string& Path = Paths[Mappings == 1000 ? 0 : Mappings == 10000 ? 1 : 2];
    if (Path.empty()) {
        Path = FileFor(Mappings);
        TQ7NDocument Document;
        FillPorts(*Document.Options()->Q7NPorts(), Mappings);
        if (const TXMLSaveResult& Saved = Document.Save(Path); !Saved)
            throw std::runtime_error(Saved.Reason);
    }
    return Path;
}

void SetFileCounters(benchmark::State& State, const std::string& Path, int Mappings) {
    auto Bytes = static_cast<std::int64_t>(std::filesystem::file_size(Path));
    State.SetBytesProcessed(State.iterations() * Bytes);
    State.SetItemsProcessed(State.iterations() * Mappings);
}

// Times Load(Path, Mappings) on the file of that size and reports its peak heap use.
template <class TLoad> void MeasureLoad(benchmark::State& State, TLoad Load) {
    const int Mappings = static_cast<int>(State.range(0));
    const std::string& Path = EnsureFile(Mappings);
    double PeakPerMapping = 0;
    for (auto _ : State) {
        std::size_t Baseline = GCurrentBytes;
        GPeakBytes = GCurrentBytes;
        if (!Load(Path, Mappings))
            State.SkipWithError("the file did not load");
        PeakPerMapping = static_cast<double>(GPeakBytes - Baseline) / Mappings;
    }
    SetFileCounters(State, Path, Mappings);
    State.counters["peak_heap_B_per_mapping"] = PeakPerMapping;
}

void DocumentLoad(benchmark::State& State) {
    MeasureLoad(State, [](const std::string& Path, int Mappings) {
        TQ7NDocument Document;
        Document.Load(Path);
        return Document.Options()->Q7NPorts()->Count() == Mappings;
    });
}

void DocumentSave(benchmark::State& State) {
    const int Mappings = static_cast<int>(State.range(0));
    const std::string Path = BenchFolder() + "/q7n-bench-save.xml";
    TQ7NDocument Document;
    FillPorts(*Document.Options()->Q7NPorts(), Mappings);
    for (auto _ : State) {
        if (const TXMLSaveResult& Saved = Document.Save(Path); !Saved)
            State.SkipWithError(Saved.Reason.c_str());
    }
    SetFileCounters(State, Path, Mappings);
}

// What a save under the lock adds to the save itself: taking the lock and telling whether the
// file changed since it was loaded, which reads it whole again.
void LockAndCheckBeforeSave(benchmark::State& State) {
    const int Mappings = static_cast<int>(State.range(0));
    const std::string Path = BenchFolder() + "/q7n-bench-lock.xml";
    TQ7NDocument Document;
    FillPorts(*Document.Options()->Q7NPorts(), Mappings);
    if (!Document.Save(Path))
        State.SkipWithError(Document.LastSave().Reason.c_str());
    for (auto _ : State) {
        platform::TFileLock Lock =
            TQ7NDocument::Lock(Path, platform::lmExclusive, std::chrono::milliseconds(0));
        if (!Lock || Document.ChangedOnDisk())
            State.SkipWithError("the file was locked or changed");
    }
    SetFileCounters(State, Path, Mappings);
}

void PugixmlParseAndWalk(benchmark::State& State) {
    MeasureLoad(State, [](const std::string& Path, int) {
        pugi::xml_document Document;
        if (!Document.load_file(Path.c_str()))
            return false;
        long Sum = 0;
        for (pugi::xml_node Item : Document.child("config").child("Q7NPorts").children("Item")) {
            Sum += static_cast<long>(std::strlen(Item.child_value("IP")));
            Sum += std::atol(Item.child_value("RemoutePort")) +
                   std::atol(Item.child_value("LocalPort")) +
                   std::atol(Item.child_value("COMPort")) + std::atol(Item.child_value("CpRate"));
        }
        benchmark::DoNotOptimize(Sum);
        return true;
    });
}

void PugixmlBuildAndSave(benchmark::State& State) {
    const int Mappings = static_cast<int>(State.range(0));
    const std::string Path = BenchFolder() + "/q7n-bench-pugixml-save.xml";
    TQ7NPorts Ports(nullptr);
    FillPorts(Ports, Mappings);
    for (auto _ : State) {
        pugi::xml_document Document;
        pugi::xml_node Root = Document.append_child("config");
        Root.append_attribute("Application") = "";
        Root.append_attribute("Version") = 1;
        pugi::xml_node List = Root.append_child("Q7NPorts");
        for (int I = 0; I < Ports.Count(); ++I) {
            const TQ7NPort& Port = *Ports.Items(I);
            pugi::xml_node Item = List.append_child("Item");
            Item.append_child("IP").text() = Port.IP().c_str();
            Item.append_child("RemoutePort").text() = Port.RemoutePort();
            Item.append_child("LocalPort").text() = Port.LocalPort();
            Item.append_child("COMPort").text() = Port.COMPort();
            Item.append_child("CpRate").text() = Port.CpRate();
        }
        if (!Document.save_file(Path.c_str(), "  ", pugi::format_default, pugi::encoding_utf8))
            State.SkipWithError("save failed");
    }
    SetFileCounters(State, Path, Mappings);
}

} // namespace

void* operator new(std::size_t Size) {
    if (void* Block = CountedAllocate(Size))
        return Block;
    throw std::bad_alloc();
}
void operator delete(void* Block) noexcept {
    CountedFree(Block);
}
void operator delete(void* Block, std::size_t) noexcept {
    CountedFree(Block);
}

BENCHMARK(DocumentLoad)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(PugixmlParseAndWalk)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(DocumentSave)->Arg(10)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(LockAndCheckBeforeSave)->Arg(10)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(PugixmlBuildAndSave)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // Keep freed memory in the process between iterations: on virtual machines a page fault can
    // cost microseconds, and returning the heap to the system after every load would measure the
    // hypervisor rather than the parsing. Q7N_BENCH_COLD=1 keeps the allocator's defaults.
    const char* Cold = std::getenv("Q7N_BENCH_COLD");
    if (!Cold || std::string(Cold) != "1") {
        mallopt(M_TRIM_THRESHOLD, 1 << 30);
        mallopt(M_MMAP_THRESHOLD, 1 << 30);
    }
    pugi::set_memory_management_functions(CountedAllocate, CountedFree);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
