#include "dialogs/PortRowMarks.h"

namespace q7n {

void TPortRowMarks::Update(const TQ7NPorts* Ports) {
    FPorts = Ports;
    FResult = Ports ? CheckPorts(*Ports) : TPortCheckResult();
}

std::string TPortRowMarks::Tip(int Row) const {
    std::string Text;
    for (const TPortFinding& Finding : FResult.ForRow(Row + 1)) {
        if (Text.empty())
            Text = "Row " + std::to_string(Row + 1) + ":";
        Text += '\n';
        AppendPortFindingText(Text, Finding, *FPorts);
    }
    return Text;
}

} // namespace q7n
