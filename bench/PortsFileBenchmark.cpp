// Loads and saves ports files of 1,000, 10,000 and 100,000 mappings through the port document,
// and, on the same files, pugixml's own parse-and-walk and build-and-save: the floor that the
// document is built on. Each load also reports its peak heap use per mapping. A save is timed
// whole, and split into its two steps: the document turned into bytes (beside pugixml's build and
// save to memory) and the durable replace of the file with them (beside a bare write, flush and
// rename of the same bytes).
//
// Files are written to $Q7N_BENCH_DIR (default /tmp). Run: scripts/bench.sh
// "--once=DocumentLoad/1000" runs one case's measured part once instead, with callgrind's
// collection on around it alone (valgrind --tool=callgrind --collect-atstart=no): what
// scripts/bench-ratios.sh counts.
#include "platform/DurableReplace.h"
#include "ports/Q7NDocument.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <malloc.h>
#include <map>
#include <new>
#include <pugixml.hpp>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <valgrind/callgrind.h>

using namespace q7n;

namespace {

// Heap accounting for every allocation of the process, pugixml's included. Off for the
// instruction counts (--once): they are of the load and the save, not of the accounting, which
// costs the document's one allocation per mapping more than pugixml's one per page.
std::size_t GCurrentBytes = 0;
std::size_t GPeakBytes = 0;
bool GCountHeap = true;

void* CountedAllocate(std::size_t Size) {
    void* Block = std::malloc(Size ? Size : 1);
    if (Block && GCountHeap) {
        GCurrentBytes += malloc_usable_size(Block);
        if (GCurrentBytes > GPeakBytes)
            GPeakBytes = GCurrentBytes;
    }
    return Block;
}

void CountedFree(void* Block) {
    if (Block && GCountHeap) {
        GCurrentBytes -= malloc_usable_size(Block);
    }
    std::free(Block);
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

// The measured parts, one run each: the timed benchmarks and the instruction counts share them.
bool LoadDocument(const std::string& Path, int Mappings) {
    TQ7NDocument Document;
    Document.Load(Path);
    return Document.Options()->Q7NPorts()->Count() == Mappings;
}

bool ParseAndWalkWithPugixml(const std::string& Path) {
    pugi::xml_document Document;
    if (!Document.load_file(Path.c_str()))
        return false;
    long Sum = 0;
    for (pugi::xml_node Item : Document.child("config").child("Q7NPorts").children("Item")) {
        Sum += static_cast<long>(std::strlen(Item.child_value("IP")));
        Sum += std::atol(Item.child_value("RemoutePort")) +
               std::atol(Item.child_value("LocalPort")) + std::atol(Item.child_value("COMPort")) +
               std::atol(Item.child_value("CpRate"));
    }
    benchmark::DoNotOptimize(Sum);
    return true;
}

void PugixmlBuild(pugi::xml_document& Document, const TQ7NPorts& Ports) {
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
}

struct TStringWriter : pugi::xml_writer {
    std::string Bytes;
    void write(const void* Data, std::size_t Size) override {
        Bytes.append(static_cast<const char*>(Data), Size);
    }
};

std::string BuildWithPugixmlToMemory(const TQ7NPorts& Ports) {
    pugi::xml_document Document;
    PugixmlBuild(Document, Ports);
    TStringWriter Writer;
    Document.save(Writer, "  ", pugi::format_default, pugi::encoding_utf8);
    return std::move(Writer.Bytes);
}

std::string DocumentBytes(const TQ7NDocument& Document) {
    TStatusOr<std::string> Bytes = Document.Bytes();
    if (!Bytes.Ok())
        throw std::runtime_error(Bytes.Status().Text());
    return std::move(Bytes).Value();
}

// The least a safe save can do: write a file beside the target, flush it, rename it over.
void WriteFlushRename(const std::string& Target, const std::string& Bytes) {
    const std::string Temporary = Target + ".tmp";
    int File = ::open(Temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (File < 0)
        throw std::runtime_error("cannot create " + Temporary);
    bool Written = ::write(File, Bytes.data(), Bytes.size()) == static_cast<ssize_t>(Bytes.size());
    bool Flushed = ::fsync(File) == 0;
    ::close(File);
    if (!Written || !Flushed || std::rename(Temporary.c_str(), Target.c_str()) != 0)
        throw std::runtime_error("cannot write " + Target);
}

std::string SavePath(const char* Name) {
    return BenchFolder() + "/q7n-bench-" + Name + ".xml";
}

void DocumentLoad(benchmark::State& State) {
    MeasureLoad(State, LoadDocument);
}

void PugixmlParseAndWalk(benchmark::State& State) {
    MeasureLoad(State, [](const std::string& Path, int) { return ParseAndWalkWithPugixml(Path); });
}

void DocumentSave(benchmark::State& State) {
    const int Mappings = static_cast<int>(State.range(0));
    const std::string Path = SavePath("save");
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

void PugixmlBuildAndSave(benchmark::State& State) {
    const int Mappings = static_cast<int>(State.range(0));
    const std::string Path = SavePath("pugixml-save");
    TQ7NPorts Ports(nullptr);
    FillPorts(Ports, Mappings);
    for (auto _ : State) {
        pugi::xml_document Document;
        PugixmlBuild(Document, Ports);
        if (!Document.save_file(Path.c_str(), "  ", pugi::format_default, pugi::encoding_utf8))
            State.SkipWithError("save failed");
    }
    SetFileCounters(State, Path, Mappings);
}

void DocumentToBytes(benchmark::State& State) {
    TQ7NDocument Document;
    FillPorts(*Document.Options()->Q7NPorts(), static_cast<int>(State.range(0)));
    for (auto _ : State)
        benchmark::DoNotOptimize(DocumentBytes(Document));
    State.SetItemsProcessed(State.iterations() * State.range(0));
}

void PugixmlBuildToMemory(benchmark::State& State) {
    TQ7NPorts Ports(nullptr);
    FillPorts(Ports, static_cast<int>(State.range(0)));
    for (auto _ : State)
        benchmark::DoNotOptimize(BuildWithPugixmlToMemory(Ports));
    State.SetItemsProcessed(State.iterations() * State.range(0));
}

// Times Replace(Path, Bytes) with the bytes of the document of that size.
template <class TReplace>
void MeasureReplace(benchmark::State& State, const char* Name, TReplace Replace) {
    const int Mappings = static_cast<int>(State.range(0));
    const std::string Path = SavePath(Name);
    TQ7NDocument Document;
    FillPorts(*Document.Options()->Q7NPorts(), Mappings);
    const std::string Bytes = DocumentBytes(Document);
    for (auto _ : State)
        Replace(Path, Bytes);
    SetFileCounters(State, Path, Mappings);
}

void DurableReplace(benchmark::State& State) {
    MeasureReplace(State, "replace", [](const std::string& Path, const std::string& Bytes) {
        platform::ReplaceFileDurably(Path, Bytes, TXMLOptionsSerializer::BackupPath(Path));
    });
}

void BareWriteFlushRename(benchmark::State& State) {
    MeasureReplace(State, "bare-replace", WriteFlushRename);
}

// The bare replace and the flush of the folder after it, without which the rename may not
// survive a power cut: the least that a durable replace does.
void BareReplaceAndFolderFlush(benchmark::State& State) {
    MeasureReplace(State, "bare-durable", [](const std::string& Path, const std::string& Bytes) {
        WriteFlushRename(Path, Bytes);
        int Folder = ::open(BenchFolder().c_str(), O_RDONLY | O_DIRECTORY);
        if (Folder < 0 || ::fsync(Folder) != 0)
            throw std::runtime_error("cannot flush " + BenchFolder());
        ::close(Folder);
    });
}

// Runs the measured part of the case Name ("DocumentLoad/1000") once, with callgrind's
// collection on around it alone; answers whether there was such a case and it succeeded.
bool RunOnce(const std::string& Name) {
    const std::size_t Slash = Name.find('/');
    const int Mappings = Slash == std::string::npos ? 0 : std::atoi(Name.c_str() + Slash + 1);
    if (Mappings != 1000 && Mappings != 10000 && Mappings != 100000)
        return false;
    const std::string Case = Name.substr(0, Slash);
    const std::string& Path = EnsureFile(Mappings);
    TQ7NDocument Document;
    FillPorts(*Document.Options()->Q7NPorts(), Mappings);
    const TQ7NPorts& Ports = *Document.Options()->Q7NPorts();
    const std::map<std::string, std::function<bool()>> Cases = {
        {"DocumentLoad",
         [&] {
             return LoadDocument(Path, Mappings);
         }},
        {"PugixmlParseAndWalk",
         [&] {
             return ParseAndWalkWithPugixml(Path);
         }},
        {"DocumentToBytes",
         [&] {
             return !DocumentBytes(Document).empty();
         }},
        {"PugixmlBuildToMemory",
         [&] {
             return !BuildWithPugixmlToMemory(Ports).empty();
         }},
    };
    auto Found = Cases.find(Case);
    if (Found == Cases.end())
        return false;
    CALLGRIND_TOGGLE_COLLECT;
    bool Done = Found->second();
    CALLGRIND_TOGGLE_COLLECT;
    return Done;
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
BENCHMARK(DocumentToBytes)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(PugixmlBuildToMemory)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(DurableReplace)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BareWriteFlushRename)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BareReplaceAndFolderFlush)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

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
    if (argc == 2 && std::strncmp(argv[1], "--once=", 7) == 0) {
        GCountHeap = false;
        if (RunOnce(argv[1] + 7))
            return 0;
        std::fprintf(stderr, "no such case, or it failed: %s\n", argv[1] + 7);
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
