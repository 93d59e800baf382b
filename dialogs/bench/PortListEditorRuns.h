#pragma once

// What the benchmarks of the port list editor share, whatever toolkit draws it: the mappings they
// open it on, and the runs and the table of medians they print.

#include "ports/Q7NPort.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace q7n::bench {

struct TEditorTimes {
    double OpenMs = 0;
    double DeleteMs = 0;
    double CloseMs = 0;
};

// Count mappings, all different.
inline std::unique_ptr<TQ7NPorts> MakePorts(int Count) {
    auto Ports = TXMLClass::Create<TQ7NPorts>(nullptr);
    for (int I = 0; I < Count; ++I) {
        auto* Port = Ports->Add();
        Port->SetIP("10.0." + std::to_string(I / 256 % 256) + "." + std::to_string(I % 256));
        Port->SetRemoutePort(1000 + I % 60000);
        Port->SetLocalPort(2000 + I % 60000);
        Port->SetCOMPort(1 + I % 256);
        Port->SetCpRate(I % 2 ? 9600 : 115200);
    }
    return Ports;
}

// Runs RunOnce Runs times at 10,000 and at 100,000 mappings and prints the medians under Heading.
inline void PrintEditorTimes(const std::string& Heading, int Runs,
                             const std::function<TEditorTimes(int Count)>& RunOnce) {
    auto Median = [](std::vector<double> Values) {
        std::sort(Values.begin(), Values.end());
        return Values[Values.size() / 2];
    };
    std::printf("%s, median of %d runs\n", Heading.c_str(), Runs);
    std::printf("%10s %12s %18s %18s\n", "mappings", "open (ms)", "delete half (ms)",
                "close, OK (ms)");
    for (int Count : {10000, 100000}) {
        std::vector<double> Open, Delete, Close;
        for (int Run = 0; Run < Runs; ++Run) {
            TEditorTimes Times = RunOnce(Count);
            Open.push_back(Times.OpenMs);
            Delete.push_back(Times.DeleteMs);
            Close.push_back(Times.CloseMs);
        }
        std::printf("%10d %12.1f %18.1f %18.1f\n", Count, Median(Open), Median(Delete),
                    Median(Close));
        std::fflush(stdout);
    }
}

} // namespace q7n::bench
