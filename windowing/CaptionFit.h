#pragma once

#include <functional>

namespace q7n {

// How a caption is set to fit its room: its letters closer by -LetterSpacing pixels each, then
// its face condensed to Stretch percent of its width. Its size and baseline stay those of the
// captions beside it, which a smaller size would not keep.
struct TCaptionFit {
    double LetterSpacing = 0;
    int Stretch = 100;
    bool operator==(const TCaptionFit&) const = default;
};

// The least change that brings a caption within Room pixels: its letters set closer in quarter
// pixels, by up to a pixel each, then its face condensed in steps of 2 percent, down to half its
// width. A caption that fits keeps its face as it is. Width measures the caption set as a fit says.
TCaptionFit FitCaption(int Room, const std::function<int(const TCaptionFit&)>& Width);

} // namespace q7n
