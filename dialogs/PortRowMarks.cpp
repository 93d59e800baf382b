#include "dialogs/PortRowMarks.h"

#include <algorithm>
#include <exception>

namespace q7n {

namespace {

bool ByRow(const TMachineFinding& A, const TMachineFinding& B) {
    return A.Row < B.Row;
}

} // namespace

void TPortRowMarks::Update(const TQ7NPorts* Ports, IMachineCheck* Machine) {
    FPorts = Ports;
    FResult = Ports ? CheckPorts(*Ports) : TPortCheckResult();
    FMachineFindings.clear();
    try {
        if (Ports && Machine)
            FMachineFindings = Machine->CheckRows(*Ports);
    } catch (const std::exception&) {
        // The machine's findings only help; the file's marks stand without them.
    }
    std::stable_sort(FMachineFindings.begin(), FMachineFindings.end(), ByRow);
}

std::span<const TMachineFinding> TPortRowMarks::MachineFindings(int Row) const {
    TMachineFinding Key;
    Key.Row = Row + 1;
    auto [First, Last] =
        std::equal_range(FMachineFindings.begin(), FMachineFindings.end(), Key, ByRow);
    return {First, Last};
}

bool TPortRowMarks::Marked(int Row) const {
    return !FResult.ForRow(Row + 1).empty() || !MachineFindings(Row).empty();
}

std::string TPortRowMarks::Tip(int Row) const {
    std::string Text;
    auto StartLine = [&] {
        if (Text.empty())
            Text = "Row " + std::to_string(Row + 1) + ":";
        Text += '\n';
    };
    for (const TPortFinding& Finding : FResult.ForRow(Row + 1)) {
        StartLine();
        AppendPortFindingText(Text, Finding, *FPorts);
    }
    for (const TMachineFinding& Finding : MachineFindings(Row)) {
        StartLine();
        Text += Finding.Text;
    }
    return Text;
}

} // namespace q7n
