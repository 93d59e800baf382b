#pragma once

#include <string>

namespace q7n::cli {

// One command's entry in q7nctl --help: how it is called and what it does. Text may hold
// several lines, each written below the one before in the column of the first.
struct THelpLine {
    const char* Usage; // such as "ports list [--json]"
    const char* Text;  // "" for none
};

// "  USAGE   TEXT": the text from column 28, or on the next line there when the usage is too
// long to leave room for it.
void AppendHelpLine(std::string& Out, const THelpLine& Line);

} // namespace q7n::cli
