#include "platform/CommandLine.h"

namespace q7n::platform {

namespace {

bool IsBlank(char C) {
    return C == ' ' || C == '\t';
}

} // namespace

std::vector<std::string> SplitWindowsCommandLine(std::string_view Line) {
    std::vector<std::string> Words;
    std::size_t I = 0;
    while (I < Line.size() && IsBlank(Line[I]))
        ++I;
    if (I == Line.size())
        return Words;

    // The program name knows no escapes: a path may end in a backslash.
    std::string Program;
    if (Line[I] == '"') {
        ++I;
        while (I < Line.size() && Line[I] != '"')
            Program += Line[I++];
        if (I < Line.size())
            ++I;
    }
    while (I < Line.size() && !IsBlank(Line[I]))
        Program += Line[I++];
    Words.push_back(Program);

    for (;;) {
        while (I < Line.size() && IsBlank(Line[I]))
            ++I;
        if (I == Line.size())
            break;
        std::string Word;
        bool Quoted = false;
        while (I < Line.size() && (Quoted || !IsBlank(Line[I]))) {
            if (Line[I] == '\\') {
                std::size_t Backslashes = 0;
                while (I < Line.size() && Line[I] == '\\') {
                    ++Backslashes;
                    ++I;
                }
                if (I < Line.size() && Line[I] == '"') {
                    Word.append(Backslashes / 2, '\\');
                    if (Backslashes % 2 == 1) {
                        Word += '"';
                        ++I;
                    }
                } else {
                    Word.append(Backslashes, '\\');
                }
            } else if (Line[I] == '"') {
                if (Quoted && I + 1 < Line.size() && Line[I + 1] == '"') {
                    Word += '"';
                    I += 2;
                } else {
                    Quoted = !Quoted;
                    ++I;
                }
            } else {
                Word += Line[I++];
            }
        }
        Words.push_back(Word);
    }
    return Words;
}

} // namespace q7n::platform
