#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace q7n {

// Where the lines of a message may end around its quoted paths ("C:\Program Files\..."): inside
// a path only after a separator. Left alone, a window breaks a path at a blank or a hyphen inside
// a folder name, and finds no place in a long Windows path.

struct TTextPiece {
    std::string_view Text;
    bool PathName; // a name of a quoted path with the separator after it: a line ends only after it
};

// Text cut into pieces that, joined, give Text again: each name of a quoted path (a text between
// two quotes that holds a "/" or a "\") with the separator after it, and the text between the
// paths as it stands.
std::vector<TTextPiece> CutAtPathSeparators(std::string_view Text);

// For windows that cannot be told where a line may end: Text with its lines ended ("\n") so that
// none is wider than Width as Measure (the width of a line's text) says. Lines end after a blank
// or after a path's separator, and where Text ends them; a word or path name wider than Width
// stands alone on its line.
std::string BreakLines(std::string_view Text, int Width,
                       const std::function<int(std::string_view Line)>& Measure);

} // namespace q7n
