#include "cli/CommandHelp.h"

#include <string_view>

namespace q7n::cli {

void AppendHelpLine(std::string& Out, const THelpLine& Line) {
    constexpr std::size_t Indent = 2, TextColumn = 28, Gap = 2;
    const std::string_view Usage = Line.Usage;
    Out.append(Indent, ' ');
    Out += Usage;
    std::string_view Text = Line.Text;
    if (Text.empty()) {
        Out += '\n';
        return;
    }
    if (Indent + Usage.size() + Gap <= TextColumn)
        Out.append(TextColumn - Indent - Usage.size(), ' ');
    else
        Out.append("\n").append(TextColumn, ' ');
    for (std::size_t End; (End = Text.find('\n')) != std::string_view::npos;) {
        Out.append(Text.substr(0, End + 1)).append(TextColumn, ' ');
        Text.remove_prefix(End + 1);
    }
    Out.append(Text).append("\n");
}

} // namespace q7n::cli
