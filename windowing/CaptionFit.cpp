#include "windowing/CaptionFit.h"

namespace q7n {

TCaptionFit FitCaption(int Room, const std::function<int(const TCaptionFit&)>& Width) {
    TCaptionFit Fit;
    while (Width(Fit) > Room && Fit.LetterSpacing > -1)
        Fit.LetterSpacing -= 0.25;
    while (Width(Fit) > Room && Fit.Stretch > 50)
        Fit.Stretch -= 2;
    return Fit;
}

} // namespace q7n
