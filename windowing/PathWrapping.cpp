#include "windowing/PathWrapping.h"

#include <algorithm>

namespace q7n {

namespace {

bool IsSeparator(char C) {
    return C == '/' || C == '\\';
}

void CutPath(std::string_view Path, std::vector<TTextPiece>& Pieces) {
    while (!Path.empty()) {
        auto End = std::find_if(Path.begin(), Path.end(), IsSeparator);
        std::size_t Length = End == Path.end() ? Path.size() : std::size_t(End - Path.begin()) + 1;
        Pieces.push_back({Path.substr(0, Length), true});
        Path.remove_prefix(Length);
    }
}

// The units of a line: each path name, and the other text cut after each blank and line end.
std::vector<std::string_view> Units(std::string_view Text) {
    std::vector<std::string_view> Result;
    for (const TTextPiece& Piece : CutAtPathSeparators(Text)) {
        if (Piece.PathName) {
            Result.push_back(Piece.Text);
            continue;
        }
        std::string_view Rest = Piece.Text;
        while (!Rest.empty()) {
            std::size_t End = Rest.find_first_of(" \n");
            std::size_t Length = End == std::string_view::npos ? Rest.size() : End + 1;
            Result.push_back(Rest.substr(0, Length));
            Rest.remove_prefix(Length);
        }
    }
    return Result;
}

std::string_view WithoutTrailingBlanks(std::string_view Text) {
    while (!Text.empty() && Text.back() == ' ')
        Text.remove_suffix(1);
    return Text;
}

} // namespace

std::vector<TTextPiece> CutAtPathSeparators(std::string_view Text) {
    std::vector<TTextPiece> Pieces;
    std::size_t Start = 0;
    while (Start < Text.size()) {
        std::size_t Open = Text.find('"', Start);
        std::size_t Close = Open == std::string_view::npos ? Open : Text.find('"', Open + 1);
        if (Close == std::string_view::npos) {
            Pieces.push_back({Text.substr(Start), false});
            break;
        }
        std::string_view Quoted = Text.substr(Open + 1, Close - Open - 1);
        if (std::none_of(Quoted.begin(), Quoted.end(), IsSeparator)) {
            Pieces.push_back({Text.substr(Start, Close + 1 - Start), false});
        } else {
            Pieces.push_back({Text.substr(Start, Open + 1 - Start), false});
            CutPath(Quoted, Pieces);
            Pieces.push_back({Text.substr(Close, 1), false});
        }
        Start = Close + 1;
    }
    // Neighbouring pieces of other text as one.
    std::vector<TTextPiece> Joined;
    for (const TTextPiece& Piece : Pieces) {
        if (Piece.Text.empty())
            continue;
        if (!Joined.empty() && !Joined.back().PathName && !Piece.PathName)
            Joined.back().Text = std::string_view(Joined.back().Text.data(),
                                                  Joined.back().Text.size() + Piece.Text.size());
        else
            Joined.push_back(Piece);
    }
    return Joined;
}

std::string BreakLines(std::string_view Text, int Width,
                       const std::function<int(std::string_view Line)>& Measure) {
    std::string Result;
    std::string Line;
    auto EndLine = [&] {
        Result += WithoutTrailingBlanks(Line);
        Result += '\n';
        Line.clear();
    };
    for (std::string_view Unit : Units(Text)) {
        const bool Ends = Unit.back() == '\n';
        if (Ends)
            Unit.remove_suffix(1);
        if (!Line.empty() && Measure(WithoutTrailingBlanks(Line + std::string(Unit))) > Width)
            EndLine();
        Line += Unit;
        if (Ends)
            EndLine();
    }
    Result += Line;
    return Result;
}

} // namespace q7n
